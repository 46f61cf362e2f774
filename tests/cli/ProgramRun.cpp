// Running the real executable from a program directory of the test's own.
#include "ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

extern char **environ;

namespace clitest {

namespace fs = std::filesystem;

ProgramRun::ProgramRun() {
    fs::copy_file(testsupport::ProgramDir() + "/vorlix", Executable());
    fs::copy_file(testsupport::StandinNotesPath(), File("libnotes.so"));
    fs::create_directories(Data());
    testsupport::WriteNotesIni(Dir(), {"Directory=" + Data()});
    WriteSettings(DefaultSettings());
}

std::vector<std::string> ProgramRun::DefaultSettings() const {
    return {"ProgramPath=" + Dir(), "IniFilePath=" + File("notes.ini")};
}

void ProgramRun::WriteSettings(const std::vector<std::string> &notesLines) {
    std::string text = "[Notes]\n";
    for (const std::string &line : notesLines) {
        text += line + "\n";
    }
    testsupport::WriteFile(File("vorlix.ini"), text);
}

void ProgramRun::AddRtfFilter(const std::string &library) {
    fs::copy_file(library.empty() ? testsupport::ProgramDir() + "/libnxrtf.so" : library, File("libnxrtf.so"),
                  fs::copy_options::overwrite_existing);
}

void ProgramRun::AddDatabase(const std::string &source, const std::string &name) {
    fs::copy_file(source, Data() + "/" + name, fs::copy_options::overwrite_existing);
}

RunResult ProgramRun::Run(const std::vector<std::string> &arguments, int timeoutSeconds) const {
    RunResult result;
    const std::string outPath = File("stdout.txt");
    const std::string errPath = File("stderr.txt");

    std::vector<std::string> env;
    for (char **e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "LD_LIBRARY_PATH=", 16) != 0 &&
            std::strncmp(*e, "VORLIX_LIBRARY_PATH_SET=", 24) != 0 &&
            std::strncmp(*e, "Notes_ExecDirectory=", 20) != 0 && std::strncmp(*e, "DISPLAY=", 8) != 0 &&
            std::strncmp(*e, "WAYLAND_DISPLAY=", 16) != 0 && std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0) {
            env.emplace_back(*e);
        }
    }
    std::vector<char *> envp;
    for (std::string &e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);

    std::vector<std::string> args = {Executable()};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    // The child inherits the limit; this process keeps it only for the spawn.
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    if (m_fileSizeLimit != 0) {
        const rlimit limited{m_fileSizeLimit, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    const int spawned = posix_spawn(&pid, Executable().c_str(), &actions, nullptr, argv.data(), envp.data());
    setrlimit(RLIMIT_FSIZE, &previous);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.err = "spawn failed";
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.err = "timed out";
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    result.out = testsupport::ReadFile(outPath);
    result.err = testsupport::ReadFile(errPath);
    return result;
}

}  // namespace clitest
