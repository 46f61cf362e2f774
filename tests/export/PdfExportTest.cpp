// PDF creation against the stand-in script engine and printer: the walk over two views, a view of
// documents that cannot be opened, the printer key of the edition, the time-out question, a cancel,
// and the driver's registry values after every way out of the phase.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "ExportTestSupport.h"
#include "export/PdfPhase.h"
#include "export/PdfPrinterSettings.h"
#include "notes/NotesApi.h"
#include "platform/AppInfo.h"
#include "platform/Registry.h"
#include "platform/ScriptHost.h"

namespace exporttest {
namespace {

using platform::MessageAnswer;
using platform::Registry;
using platform::RegistryHive;

constexpr char kVersion[] = "pdfFactory4";
constexpr char kPro[] = "pdfFactory Pro";
constexpr char kStandinPrinterKey[] = "Software\\Vorlix Standin\\Printer";
constexpr char kTimeoutText[] =
    "Error: Time out occurened waiting for print to pdfFactory.\n\nMake sure that pdfFactory is the default "
    "printer and your Create PDF settings specify the correct pdfFactory version and edition.\n\nCheck "
    "Lotus Notes for any error message popups, clear them (click OK) but do not exit the active view or "
    "folder.\n\nDo you wish to retry or cancel this export?";

// The seam of these tests: messages are recorded as "caption: text" and questions answered from a
// list, Cancel once it is used up (as an unattended run answers).
class PdfUi : public ScriptedUi {
public:
    MessageAnswer Message(const std::string &text, const std::string &caption, platform::MessageIcon icon,
                          platform::MessageButtons buttons) override {
        messages.push_back(caption + ": " + text);
        if (caption == "Create PDF Timeout") {
            EXPECT_EQ(icon, platform::MessageIcon::Error);
            EXPECT_EQ(buttons, platform::MessageButtons::RetryCancel);
        }
        if (buttons == platform::MessageButtons::Ok) {
            return MessageAnswer::Ok;
        }
        if (onQuestion) {
            onQuestion();
        }
        if (answers.empty()) {
            return MessageAnswer::Cancel;
        }
        const MessageAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }

    std::vector<std::string> PdfStatuses() const {
        std::vector<std::string> pdf;
        for (const auto &status : statuses) {
            if (status.rfind("PDFs Exported", 0) == 0) {
                pdf.push_back(status);
            }
        }
        return pdf;
    }

    std::vector<std::string> messages;
    std::vector<MessageAnswer> answers;
    std::function<void()> onQuestion;
};

std::string PdfText(const std::string &path) {
    std::string text;
    FILE *pipe = popen(("pdftotext -q '" + path + "' - 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return text;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, n);
    }
    pclose(pipe);
    return text;
}

class PdfExportTest : public ExportRunTest {
public:
    void SetUp() override {
        ExportRunTest::SetUp();
        setenv("VORLIX_REGISTRY", m_dir.File("registry.ini").c_str(), 1);
        // The engine library and the printer live in the program directory.
        platform::AppInfo::OverrideModulePath(testsupport::ProgramDir() + "/vorlix");
        exporter::SetPdfDriverSettleTimeForTests(0);
        InstallPrinter(kPro, false);
    }
    void TearDown() override {
        exporter::SetPdfDriverSettleTimeForTests(exporter::kPdfDriverSettleMilliseconds);
        platform::AppInfo::OverrideModulePath("");
        unsetenv("VORLIX_REGISTRY");
        ExportRunTest::TearDown();
    }

    // The default printer, and the stand-in printer's own settings (silent: writes the file but never
    // clears OutputFile, as a printer that never finishes).
    static void InstallPrinter(const std::string &edition, bool silent) {
        ASSERT_TRUE(Registry::SetString(RegistryHive::CurrentUser,
                                        "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Device",
                                        edition + ",winspool,Ne00:"));
        ASSERT_TRUE(Registry::SetString(RegistryHive::CurrentUser, kStandinPrinterKey, "Version", kVersion));
        ASSERT_TRUE(
            Registry::SetDword(RegistryHive::CurrentUser, kStandinPrinterKey, "Silent", silent ? 1 : 0));
    }

    config::DatabaseExportProfile PdfProfile(const std::vector<std::string> &views) {
        auto profile = Profile("Pdf.nsf");
        auto &s = profile.Settings;
        s.SelectMethod = config::kSelectViews;
        s.IncludeViewFolderNames = views;
        s.CreatePdfs = true;
        s.PdfVersionString = kVersion;
        s.PdfEditionString = kPro;
        SetColumns(profile, {"Subject", "%OF_Name"});
        return profile;
    }

    // The phase alone over lists made by hand; the run's source database is closed by then.
    long RunPhase(const config::ExportSettings &settings, const exporter::PdfWorkLists &lists) {
        exporter::PdfPhase phase(settings, m_cancel, true);
        phase.Run(lists, notes::Api().libraryPath);
        m_waitSteps = phase.WaitSteps();
        return phase.Printed();
    }

    // Whether the view open in the client is name: a script that fails otherwise.
    static bool ClientViewIs(const std::string &name) {
        platform::ScriptHost host(notes::Api().libraryPath);
        return host.RunScript("VBScript",
                              "Sub Check\r\nSet ws = CreateObject(\"Notes.NOTESUIWORKSPACE\")\r\n"
                              "If ws.CurrentView.ViewName <> \"" +
                                  name + "\" Then\r\nCall ws.NotTheView()\r\nEnd If\r\nEnd Sub\r\n") &&
               host.InvokeSub("Check");
    }

    static void ExpectDriverRestored(const std::string &edition) {
        const std::string keys[] = {exporter::PdfPrinterKey(kVersion, edition),
                                    exporter::PdfDriverDataKey(kVersion, edition)};
        for (const auto &key : keys) {
            EXPECT_EQ(Registry::GetDword(RegistryHive::CurrentUser, key, "ShowDlg"), 1u) << key;
            EXPECT_EQ(Registry::GetDword(RegistryHive::CurrentUser, key, "PdfAction"), 0u) << key;
        }
        EXPECT_EQ(
            Registry::GetString(RegistryHive::CurrentUser, exporter::PdfVersionKey(kVersion), "OutputFile"),
            std::optional<std::string>(""));
    }

    long m_waitSteps = 0;
};

// The script host against the engine: what fails, and which failures are shown as script errors.
TEST_F(PdfExportTest, ScriptHostReportsScriptErrorsWithTheirLine) {
    const struct {
        const char *language;
        const char *text;
        const char *sub;
        bool parsed;
        bool invoked;
        int errorLine;  // the line of the script error shown; 0 when nothing is shown
    } cases[] = {
        {"VBScript", "Sub Fine\r\nx = 1\r\nEnd Sub\r\n", "Fine", true, true, 0},
        {"VBScript", "Sub Fine\r\nx = 1\r\nEnd Sub\r\n", "Missing", true, false, 0},
        {"VBScript", "Sub Broken\r\nx = 1\r\nSet = (\r\nEnd Sub\r\n", "Broken", false, false, 3},
        {"VBScript", "Sub Fails\r\nSet o = CreateObject(\"No.Such.Class\")\r\nEnd Sub\r\n", "Fails", true,
         false, 2},
        {"JScript", "function f() {}", "f", false, false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        PdfUi ui;
        platform::ScriptHost host(notes::Api().libraryPath);
        EXPECT_EQ(host.RunScript(c.language, c.text), c.parsed);
        EXPECT_EQ(c.parsed && host.InvokeSub(c.sub), c.invoked);
        if (c.errorLine == 0) {
            EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
            continue;
        }
        // "Error: " + source, "\n[Line: n] " + description, "\n" + the failing line
        ASSERT_EQ(ui.messages.size(), 1u);
        const std::string &shown = ui.messages.front();
        EXPECT_EQ(shown.rfind("Error: ", 0), 0u) << shown;
        const std::size_t line = shown.find("\n[Line: " + std::to_string(c.errorLine) + "] ");
        ASSERT_NE(line, std::string::npos) << shown;
        EXPECT_NE(shown.find('\n', line + 1), std::string::npos) << shown;
    }
}

// Two views of three and two documents: every document is printed once, in view order, to its own file
// holding its own text; the count of the status text runs to 5 of 5.
TEST_F(PdfExportTest, TwoViewsPrintEveryDocumentToItsOwnFile) {
    PdfUi ui;
    auto profile = PdfProfile({"Three", "Two"});
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    const std::vector<std::string> expected = {"PDFs Exported 1 of 5", "PDFs Exported 2 of 5",
                                               "PDFs Exported 3 of 5", "PDFs Exported 4 of 5",
                                               "PDFs Exported 5 of 5"};
    EXPECT_EQ(ui.PdfStatuses(), expected);
    EXPECT_EQ(m_run->FinalStatusText(), "Total Exported 5 :Pdf Demo");
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    EXPECT_TRUE(ClientViewIs("Two"));  // the client went on to the second view
    const char *subjects[] = {"Quarterly report", "Meeting notes", "Price list", "Travel plan",
                              "Invoice 2011-17"};
    std::string rows = "\"Subject\",\"%OF_Name\"\r\n";
    for (int i = 0; i < 5; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%07d.pdf", i + 1);
        const std::string pdf = OutPath(name);
        rows += "\"" + std::string(subjects[i]) + "\",\"" + pdf + "\"\r\n";
        EXPECT_EQ(testsupport::ReadFile(pdf).substr(0, 5), "%PDF-") << pdf;
        EXPECT_NE(PdfText(pdf).find(subjects[i]), std::string::npos)
            << pdf << " does not show " << subjects[i];
    }
    EXPECT_EQ(Summary(), rows);
    ExpectDriverRestored(kPro);
}

// A view whose documents all fail to open queues its marker alone: the view is opened in the client,
// nothing is printed for it, and the next view prints as usual.
TEST_F(PdfExportTest, ViewOfUnreadableDocumentsContributesOnlyItsMarker) {
    PdfUi ui;
    int walks = 0;  // the run sets the progress to 0 of a view's entries as it starts walking the view
    ui.onProgress = [&](long position, long range) {
        if (position != 0 || walks == 2 || (walks == 0 && range != 2)) {
            return;
        }
        if (++walks == 1) {
            testsupport::Standin::Get().SetFault("NSFNoteOpen", 1, notes::kErrNoAccess, true);
        } else {
            testsupport::Standin::Get().ClearFaults();
        }
    };
    auto profile = PdfProfile({"Locked", "Two"});
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(walks, 2);
    EXPECT_EQ(ui.PdfStatuses(), (std::vector<std::string>{"PDFs Exported 1 of 2", "PDFs Exported 2 of 2"}));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    EXPECT_FALSE(std::filesystem::exists(OutPath("0000001.pdf")));
    EXPECT_FALSE(std::filesystem::exists(OutPath("0000002.pdf")));
    EXPECT_NE(PdfText(OutPath("0000003.pdf")).find("Travel plan"), std::string::npos);
    EXPECT_NE(PdfText(OutPath("0000004.pdf")).find("Invoice 2011-17"), std::string::npos);
    ExpectDriverRestored(kPro);
}

// A document in two views is printed twice; named by a field value, the second file is numbered
// instead of replacing the first.
TEST_F(PdfExportTest, SecondFileOfTheSameNameIsNumbered) {
    PdfUi ui;
    auto profile = PdfProfile({"Three", "Again"});
    profile.Settings.PdfFormatNameFormat = config::kNameByFieldValue;
    profile.Settings.PdfFormatAppendFieldName = "Subject";
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    for (const char *name : {"Quarterly report.pdf", "Quarterly report2.pdf"}) {
        EXPECT_NE(PdfText(OutPath(name)).find("Quarterly report"), std::string::npos) << name;
    }
}

// The edition names the printer key of set-up and restore: the printer prints only when its own key
// says there is no dialog, and the other edition's key is never written.
TEST_F(PdfExportTest, EditionNamesThePrinterKey) {
    const struct {
        const char *edition;
        const char *other;
    } cases[] = {{kPro, "pdfFactory"}, {"pdfFactory", kPro}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.edition);
        std::filesystem::remove_all(m_dir.File("out"));
        std::filesystem::create_directories(m_dir.File("out"));
        std::filesystem::remove(m_dir.File("registry.ini"));
        InstallPrinter(c.edition, false);
        PdfUi ui;
        auto profile = PdfProfile({"Two"});
        profile.Settings.PdfEditionString = c.edition;
        ASSERT_TRUE(Run(profile)) << m_run->LastError();
        EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
        EXPECT_TRUE(std::filesystem::exists(OutPath("0000002.pdf")));
        ExpectDriverRestored(c.edition);
        EXPECT_FALSE(
            Registry::KeyExists(RegistryHive::CurrentUser, exporter::PdfPrinterKey(kVersion, c.other)));
    }
}

// A printer that never finishes: with a time-out of 100 milliseconds the question comes after the
// second step (the first beyond the limit); Retry waits the full time-out again, Cancel ends the phase.
TEST_F(PdfExportTest, TimeOutQuestionAfterTheFirstStepBeyondTheLimit) {
    const struct {
        std::vector<MessageAnswer> answers;
        std::size_t questions;
        long steps;
    } cases[] = {{{}, 1, 2}, {{MessageAnswer::Retry}, 2, 4}};
    InstallPrinter(kPro, true);
    auto settings = PdfProfile({}).Settings;
    settings.PdfTimeOut = 100;
    const exporter::PdfWorkLists lists{
        {"~", "D0C0000000000000000000000000010C", "D0C00000000000000000000000000110"},
        {"Two", OutPath("a.pdf"), OutPath("b.pdf")},
        2};
    for (const auto &c : cases) {
        PdfUi ui;
        ui.answers = c.answers;
        m_cancel = false;
        EXPECT_EQ(RunPhase(settings, lists), 1);
        EXPECT_EQ(m_waitSteps, c.steps);
        EXPECT_EQ(ui.messages,
                  std::vector<std::string>(c.questions, std::string("Create PDF Timeout: ") + kTimeoutText));
        EXPECT_TRUE(m_cancel.load());
        ExpectDriverRestored(kPro);
    }
}

// Every way out of the phase leaves the driver restored; the ways that fail say why.
TEST_F(PdfExportTest, EveryWayOutRestoresTheDriver) {
    const std::string engineDir = m_dir.File("no-engine");
    std::filesystem::create_directories(engineDir);
    const struct {
        const char *name;
        const char *view;
        bool withoutEngine;
        long printed;
        std::vector<std::string> messages;
    } cases[] = {
        {"success", "Two", false, 2, {}},
        {"a view the client cannot open",
         "Nowhere",
         false,
         0,
         {"Error: ", "Vorlix: Unable to open view/folder:Nowhere"}},
        {"no script engine",
         "Two",
         true,
         0,
         {"Error: Unable to load the script engine " + engineDir + "/libvxscript.so: ",
          "Vorlix: Unable to open view/folder:Two"}},
    };
    const auto settings = PdfProfile({}).Settings;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PdfUi ui;
        m_cancel = false;
        if (c.withoutEngine) {
            platform::AppInfo::OverrideModulePath(engineDir + "/vorlix");
        }
        const exporter::PdfWorkLists lists{
            {"~", "D0C0000000000000000000000000010C", "D0C00000000000000000000000000110"},
            {c.view, OutPath("a.pdf"), OutPath("b.pdf")},
            2};
        EXPECT_EQ(RunPhase(settings, lists), c.printed);
        platform::AppInfo::OverrideModulePath(testsupport::ProgramDir() + "/vorlix");
        ASSERT_EQ(ui.messages.size(), c.messages.size());
        for (std::size_t i = 0; i < c.messages.size(); ++i) {  // the script's or loader's reason follows
            EXPECT_EQ(ui.messages[i].rfind(c.messages[i], 0), 0u) << ui.messages[i];
        }
        EXPECT_EQ(m_cancel.load(), !c.messages.empty());
        ExpectDriverRestored(kPro);
    }
}

// Cancel while the printer is busy: the dialog's Cancel comes during the wait (here while the time-out
// question is up, which is answered Retry); the wait ends at its next check, so no second question
// comes and nothing more is printed; the driver is restored and the run still ends as successful.
TEST_F(PdfExportTest, CancelDuringThePdfPhaseEndsTheWaitAndTheRunSucceeds) {
    InstallPrinter(kPro, true);
    PdfUi ui;
    ui.answers = {MessageAnswer::Retry};  // then Cancel, should the wait go on
    ui.onQuestion = [this] { m_cancel = true; };
    auto profile = PdfProfile({"Three", "Two"});
    profile.Settings.PdfTimeOut = 100;
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    EXPECT_EQ(m_run->FinalStatusText(), "Total Exported 5 :Pdf Demo");
    EXPECT_EQ(ui.PdfStatuses(), std::vector<std::string>{"PDFs Exported 1 of 5"});
    EXPECT_EQ(ui.messages, std::vector<std::string>{std::string("Create PDF Timeout: ") + kTimeoutText});
    ExpectDriverRestored(kPro);
}

}  // namespace
}  // namespace exporttest
