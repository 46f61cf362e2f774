// Installation discovery over a large tree: 111,111 directories (a Notes folder pattern match and five
// levels of ten below it) with symbolic-link loops on every level. The first pass reads only the
// two levels it may; the second pass, run when the first found nothing, reads every directory once and
// follows no link. Counters: directories read per discovery.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "notes/NotesInstalls.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFanOut = 10;
constexpr int kDepth = 5;

class Tree {
public:
    Tree() {
        std::string pattern = (fs::temp_directory_path() / "vorlix-bench-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        setenv("VORLIX_REGISTRY", (m_root + "/registry.ini").c_str(), 1);
        fs::create_directories(m_root + "/proc");
        Build(m_root + "/root/opt/ibm/notes", 1);
        // A library three levels below the pattern folder: out of reach of the first pass.
        fs::copy_file(VORLIX_PROGRAM_DIR "/libnotes.so", m_root + "/root/opt/ibm/notes/d0/d0/d0/libnotes.so");
    }
    ~Tree() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    notes::InstallSearchEnvironment Environment() const {
        notes::InstallSearchEnvironment environment;
        environment.root = m_root + "/root";
        environment.procDirectory = m_root + "/proc";
        return environment;
    }
    std::size_t directories = 0;

private:
    void Build(const std::string &directory, int level) {
        fs::create_directories(directory);
        ++directories;
        if (level > kDepth) {
            return;
        }
        fs::create_directory_symlink(m_root + "/root", directory + "/loop");
        for (int i = 0; i < kFanOut; ++i) {
            Build(directory + "/d" + std::to_string(i), level + 1);
        }
    }
    std::string m_root;
};

Tree &TheTree() {
    static Tree tree;
    return tree;
}

void BM_DiscoveryBothPasses(benchmark::State &state) {
    Tree &tree = TheTree();
    std::size_t searched = 0;
    for (auto _ : state) {
        notes::NotesInstalls installs(tree.Environment());
        benchmark::DoNotOptimize(installs.Discover(true));
        searched = installs.DirectoriesSearched();
        if (installs.ProgramCandidates().size() != 1) {
            state.SkipWithError("the library was not found");
        }
    }
    state.counters["dirs_in_tree"] = static_cast<double>(tree.directories);
    state.counters["dirs_read"] = static_cast<double>(searched);
}
BENCHMARK(BM_DiscoveryBothPasses)->Unit(benchmark::kMillisecond);

void BM_SearchDirectoryByDepth(benchmark::State &state) {
    Tree &tree = TheTree();
    const int depth = static_cast<int>(state.range(0));
    std::size_t searched = 0;
    for (auto _ : state) {
        notes::NotesInstalls installs(tree.Environment());
        installs.SearchDirectory(tree.Environment().root + "/opt/ibm/notes", depth, false, false);
        searched = installs.DirectoriesSearched();
    }
    state.counters["dirs_read"] = static_cast<double>(searched);
}
BENCHMARK(BM_SearchDirectoryByDepth)->Arg(1)->Arg(2)->Arg(3)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
