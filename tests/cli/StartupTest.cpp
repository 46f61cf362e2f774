// The pieces of the start that run before any Notes call: the "/nomsg" switch and the loader path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLineRun.h"
#include "app/LibraryPathStart.h"

namespace {

using app::CommandLineRun;
using app::LibraryPathStart;

TEST(CommandLineSwitch, NoMessagesIsMatchedExactlyAtAnyPosition) {
    const struct {
        std::vector<std::string> arguments;
        bool expected;
    } cases[] = {
        {{"/nomsg"}, true},           {{"p.xpp", "/nomsg"}, true},
        {{"/nomsg", "p.xpp"}, true},  {{"p.xpp", "extra", "/nomsg"}, true},
        {{"p.xpp", "/NOMSG"}, false}, {{"p.xpp", "/nomsg "}, false},
        {{"p.xpp", "-nomsg"}, false}, {{"p.xpp", "/nomsgs"}, false},
        {{"p.xpp"}, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CommandLineRun::HasNoMessagesSwitch(c.arguments), c.expected) << c.arguments.back();
    }
}

TEST(LibraryPathStart, FindsTheDirectoryAmongThePathEntries) {
    const struct {
        std::string searchPath;
        std::string directory;
        bool expected;
    } cases[] = {
        {"", "/opt/notes", false},
        {"/opt/notes", "/opt/notes", true},
        {"/usr/lib:/opt/notes", "/opt/notes", true},
        {"/opt/notes/:/usr/lib", "/opt/notes", true},
        {"/usr/lib", "/opt/notes/", false},
        {"/opt/notes", "/opt/notes/", true},
        {"/opt/notes2:/opt", "/opt/notes", false},
        {"/opt/notes/sub", "/opt/notes", false},
        {"::", "/opt/notes", false},
        {"/opt/notes", "", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(LibraryPathStart::PathHasDirectory(c.searchPath, c.directory), c.expected)
            << "'" << c.searchPath << "' / '" << c.directory << "'";
    }
}

TEST(LibraryPathStart, PrependsWithoutAnEmptyEntry) {
    EXPECT_EQ(LibraryPathStart::Prepended("", "/opt/notes"), "/opt/notes");
    EXPECT_EQ(LibraryPathStart::Prepended("/usr/lib", "/opt/notes"), "/opt/notes:/usr/lib");
}

}  // namespace
