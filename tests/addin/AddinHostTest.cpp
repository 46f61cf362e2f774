// The add-in inside a host process of the tests' own: what it answers for each state of the host's
// settings file, and that no state brings the host down.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "password/SavedPassword.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

struct HostRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a copy of the host from its own directory, so that its settings file is dir/host.ini.
HostRun RunHost(const testsupport::TempDir &dir, const std::vector<std::string> &options) {
    const std::string host = dir.File("host");
    if (!fs::exists(host)) {
        fs::copy_file(QUORVANE_TEST_HOST, host);
    }
    std::string command = "'" + host + "' '" + testsupport::ProgramDir() + "/libquorvane.so'";
    for (const std::string &option : options) {
        command += " " + option;
    }
    command += " </dev/null 2>'" + dir.File("stderr.txt") + "'";
    HostRun run;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        run.out += buffer;
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = testsupport::ReadFile(dir.File("stderr.txt"));
    return run;
}

std::string Stored(const std::u16string &clear) {
    return password::ScramblePassword(clear);
}

struct HostCase {
    const char *name;
    // The settings file's first bytes, "Password=" and the password follow; kNoFile and kDirectory
    // stand for no file and a directory in its place.
    std::string settingsPrefix;
    std::string password;
    std::vector<std::string> options;
    std::string answer;  // the lines the host prints from "answer=" on, up to "clear="
};

void PrintTo(const HostCase &c, std::ostream *out) {
    *out << c.name;
}

const std::string kNoFile = "<no file>";
const std::string kDirectory = "<directory>";
const std::string kContinue = "answer=0x2D5\n";
const std::string kSecret = "answer=0x1761\nlength=6\npassword=secret\n";

const HostCase kHostCases[] = {
    {"NoSettingsFile", kNoFile, "", {}, kContinue},
    {"SettingsFileIsADirectory", kDirectory, "", {}, kContinue},
    {"EnabledAbsent", "[Quorvane]\n", Stored(u"secret"), {}, kContinue},
    {"EnabledZero", "[Quorvane]\nEnabled=0\n", Stored(u"secret"), {}, kContinue},
    {"EnabledWithBlanks", "[Quorvane]\nEnabled= \t1 \n", Stored(u"secret"), {}, kSecret},
    {"LatinOneGivenInTheNativeCharacterSet",
     "[Quorvane]\nEnabled=1\n",
     Stored(u"p\u00e4ss"),
     {},
     "answer=0x1761\nlength=5\npassword=p\xC3\xA4ss\n"},
    // No password stored and no GUI in the host: the add-in's dialog gives its cancelling answer.
    {"EmptyPasswordWithoutGui", "[Quorvane]\nEnabled=1\n", "", {}, kContinue},
    {"OddLengthText", "[Quorvane]\nEnabled=1\n", "E9E6230F116", {}, kContinue},
    {"NotHexadecimal", "[Quorvane]\nEnabled=1\n", "zz41", {}, kContinue},
    {"GivesANul", "[Quorvane]\nEnabled=1\n", "9A", {}, kContinue},
    {"BinaryGarbage", std::string("\xff\xfe[Quor\x01vane]\n\0\0Enabled=1\n", 26), "\x80\x81", {}, kContinue},
    {"PasswordCutToTheBuffer",
     "[Quorvane]\nEnabled=1\n",
     Stored(u"secret"),
     {"--max-length=4"},
     "answer=0x1761\nlength=3\npassword=sec\n"},
    {"NoPasswordBuffer", "[Quorvane]\nEnabled=1\n", Stored(u"secret"), {"--no-buffer"}, kContinue},
    {"OtherNotification", "[Quorvane]\nEnabled=1\n", Stored(u"secret"), {"--notification=74"}, kContinue},
};

class AddinHost : public testing::TestWithParam<HostCase> {};

TEST_P(AddinHost, AnswersFromTheHostsSettingsFile) {
    const HostCase &c = GetParam();
    testsupport::TempDir dir;
    const std::string settings = dir.File("host.ini");
    if (c.settingsPrefix == kDirectory) {
        fs::create_directory(settings);
    } else if (c.settingsPrefix != kNoFile) {
        testsupport::WriteFile(settings, c.settingsPrefix + "Password=" + c.password + "\n");
    }
    const HostRun run = RunHost(dir, c.options);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "register=0x0\nregistered id=73 flags=1\n" + c.answer +
                           "clear=0x0\nregistrations=0\nclear again=0x0\n");
    EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, AddinHost, testing::ValuesIn(kHostCases),
                         [](const testing::TestParamInfo<HostCase> &info) { return info.param.name; });

TEST(AddinHostRegistration, FailureIsReportedAndItsStatusReturned) {
    testsupport::TempDir dir;
    const HostRun run = RunHost(dir, {"--register-status=0x3E24"});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "register=0x3E24\nclear=0x0\nregistrations=0\nclear again=0x0\n");
    EXPECT_EQ(run.err, "Quorvane: Could not register extension handler - status: 0x3E24\n");
}

}  // namespace
