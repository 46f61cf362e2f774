// Copy to another database and move to a folder, run by the real executable and checked afterwards
// through the Notes API: the destination database holds the copies, the folder the moved documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesNote.h"
#include "notes/NotesSession.h"
#include "notes/NotesView.h"
#include "richtext/NotesItem.h"
#include "support/TestSupport.h"

namespace {

using clitest::ProgramRun;
using clitest::RunResult;

// The order number of every document of a view or folder, sorted; "!" and the error text when it cannot
// be read.
std::vector<std::string> OrderNumbers(const std::string &iniPath, const std::string &database,
                                      const std::string &view) {
    notes::NotesSession session;
    if (!session.Start(false, testsupport::ProgramDir(), iniPath, nullptr)) {
        return {"!" + session.ErrorText()};
    }
    std::vector<std::string> numbers;
    {
        notes::NotesDatabase db;
        if (!db.Open("", database)) {
            return {"!" + db.LastError()};
        }
        std::unique_ptr<notes::NotesView> v = db.OpenView(view);
        if (!v) {
            return {"!" + db.LastError()};
        }
        for (NOTEID id = v->First(); id != 0; id = v->Next()) {
            notes::NotesNote note;
            numbers.push_back(note.Open(db.Handle(), id, false)
                                  ? richtext::NotesItem::Render(note, "OrderNumber", ";", nullptr).text
                                  : "!" + note.ErrorText());
        }
    }
    testsupport::ExpectNothingLeft();
    session.End(false);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

TEST(CopyAndMove, CopiesEveryDocumentAndFilesItInTheFolder) {
    ProgramRun program;
    program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "orders.nsf");
    program.AddDatabase(testsupport::SourcePath("tests/cli/data/copy.nsf"), "copy.nsf");
    testsupport::WriteFile(
        program.File("p.xpp"),
        "ProductName=Vorlix\r\nNSFFilePath=orders.nsf\r\nSelectMethod=1\r\nViewName=Orders\r\n"
        "CopyDataToDb=1\r\nCopyDataToDbFilename=copy.nsf\r\nMoveToFolder=1\r\n"
        "MoveToFolderName=Follow Up\r\nOutputItems=OrderNumber,%Errors\r\nDoubleQuotes=0\r\n"
        "SummaryFilePath=" +
            program.File("out.csv") + "\r\nOutputPath=" + program.File("out") + "\r\n");
    const RunResult r = program.Run({program.File("p.xpp"), "/nomsg"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testsupport::ReadFile(program.File("out.csv")),
              "OrderNumber,%Errors\r\n1001,\r\n1002,\r\n1003,\r\n1004,\r\n");

    const std::vector<std::string> orders = {"1001", "1002", "1003", "1004"};
    std::vector<std::string> copied = OrderNumbers(program.File("notes.ini"), "copy.nsf", "All");
    EXPECT_EQ(copied, orders);
    // Document 1002 was in the folder before; it is there once.
    EXPECT_EQ(OrderNumbers(program.File("notes.ini"), "orders.nsf", "Follow Up"), orders);
}

TEST(CopyAndMove, MissingDestinationDatabaseFailsTheRun) {
    ProgramRun program;
    program.AddDatabase(testsupport::SourcePath("tests/cli/data/orders.nsf"), "orders.nsf");
    testsupport::WriteFile(
        program.File("p.xpp"),
        "ProductName=Vorlix\r\nNSFFilePath=orders.nsf\r\nSelectMethod=1\r\nViewName=Orders\r\n"
        "CopyDataToDb=1\r\nCopyDataToDbFilename=nowhere.nsf\r\nOutputItems=OrderNumber\r\n"
        "SummaryFilePath=" +
            program.File("out.csv") + "\r\n");
    const RunResult r = program.Run({program.File("p.xpp")});
    EXPECT_EQ(r.exitCode, 100);
    EXPECT_EQ(r.err.rfind("Export Status: Unable to open 'Copy To' database. Error: ", 0), 0u) << r.err;
    EXPECT_FALSE(testsupport::ReadFile(program.File("out.csv")).size() > 0);
}

}  // namespace
