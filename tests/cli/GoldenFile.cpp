// Golden-file comparison of the end-to-end tests.
#include "GoldenFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "support/TestSupport.h"

namespace clitest {

void ExpectGolden(const std::string &actual, const std::string &goldenName) {
    const std::string path = testsupport::SourcePath("tests/cli/golden/" + goldenName);
    const char *update = std::getenv("VORLIX_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        testsupport::WriteFile(path, actual);
        return;
    }
    const std::string expected = testsupport::ReadFile(path);
    EXPECT_FALSE(expected.empty()) << "missing golden file " << path;
    EXPECT_EQ(actual, expected) << "differs from " << path;
}

std::string WithoutRunTimes(const std::string &log) {
    static const std::regex beginLine("Begin export at [ 0-9]{2}:[ 0-9]{2}:[ 0-9]{2}");
    return std::regex_replace(log, beginLine, "Begin export at hh:mm:ss");
}

}  // namespace clitest
