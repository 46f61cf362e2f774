// The per-view directories of CreateViewFolderHierarchy: cascading names become levels, and no view name
// leads a directory outside the output directory.
#include <filesystem>
#include <set>

#include "ExportTestSupport.h"

namespace exporttest {
namespace {

// Every directory below root, relative to it.
std::set<std::string> DirectoriesBelow(const std::string &root) {
    std::set<std::string> found;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_directory()) {
            found.insert(std::filesystem::relative(entry.path(), root).string());
        }
    }
    return found;
}

TEST_F(ExportRunTest, CascadingViewNamesBecomeDirectoryLevels) {
    auto profile = Profile();
    profile.Settings.SelectMethod = config::kSelectViews;
    profile.Settings.IncludeViewFolderNames = {"Archive*", "Projects\\Active"};
    profile.Settings.CreateViewFolderHierarchy = true;
    profile.Settings.OutputPath = m_dir.File("out/tree/");
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(m_run->BasePath(), m_dir.File("out/tree/Projects/Active"));
    EXPECT_EQ(DirectoriesBelow(m_dir.File("out/tree")),
              (std::set<std::string>{"Archive", "Archive 2008", "Archive Empty", "Archive/Old", "Projects",
                                     "Projects/Active"}));
}

TEST_F(ExportRunTest, HostileViewNamesStayInsideTheOutputDirectory) {
    auto profile = Profile("HostileNames.nsf");
    profile.Settings.SelectMethod = config::kSelectViews;
    profile.Settings.IncludeViewFolderNames = {"%All non excluded view/folders%"};
    profile.Settings.CreateViewFolderHierarchy = true;
    profile.Settings.OutputPath = m_dir.File("out/tree");
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(m_run->ProcessedTotal(), 3);
    EXPECT_EQ(DirectoriesBelow(m_dir.File("out/tree")),
              (std::set<std::string>{"~~", "~~/~~", "~~/~~/Escape", "abs", "abs/~~", "abs/~~/x", "a~b~c"}));
    // Nothing was created beside the output directory or above it.
    EXPECT_EQ(DirectoriesBelow(m_dir.File("out")),
              (std::set<std::string>{"tree", "tree/~~", "tree/~~/~~", "tree/~~/~~/Escape", "tree/abs",
                                     "tree/abs/~~", "tree/abs/~~/x", "tree/a~b~c"}));
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("Escape")));
}

TEST_F(ExportRunTest, WithoutTheHierarchyTheBasePathIsTheOutputPath) {
    auto profile = Profile();
    profile.Settings.OutputPath = m_dir.File("out/new/level");
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(m_run->BasePath(), m_dir.File("out/new/level"));
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.File("out/new/level")));
}

}  // namespace
}  // namespace exporttest
