// End to end over the built libraries: the stand-in runtime with a database, libvxscript.so running
// the three PDF scripts as the program builds them, and the printer program writing the PDF named by
// OutputFile in the registry store, then clearing OutputFile. The PDF is read back with poppler.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "../platform/ScopedEnv.h"
#include "cd/Image.h"
#include "dxl/Base64.h"
#include "notes/capi/NotesCApi.h"
#include "platform/Registry.h"
#include "support/TestSupport.h"

namespace {

using platform::Registry;
using platform::RegistryHive;

struct VxScriptError {
    int line;
    char source[128];
    char description[512];
    char sourceLine[512];
};

constexpr char kMemoUnid[] = "0123456789ABCDEF0123456789ABCDEF";
constexpr char kVersionKey[] = "Software\\FinePrint Software\\pdfFactory4";
constexpr char kPrinterKey[] = "Software\\FinePrint Software\\pdfFactory4\\FinePrinters\\pdfFactory Pro";
constexpr char kStandinKey[] = "Software\\Vorlix Standin\\Printer";

std::string Picture() {
    standin::cd::Image image;
    image.width = 48;
    image.height = 32;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            image.pixels.push_back(x < 24 ? (y < 16 ? 0xFFD02020u : 0xFF20A020u) : 0xFF2040D0u);
        }
    }
    std::string gif;
    EXPECT_TRUE(standin::cd::EncodeGif(image, gif));
    return standin::dxl::EncodeBase64(gif);
}

// A form laying out Subject and Body, and a memo with styled text, a table and a picture.
std::string Database() {
    return std::string("<?xml version='1.0'?><database xmlns='http://www.lotus.com/dxl' title='Memos'>") +
           "<view name='Memos'><noteinfo noteid='20' unid='00000000000000000000000000000020'/>"
           "<code event='selection'><formula>SELECT @All</formula></code><column><code event='value'>"
           "<formula>Subject</formula></code></column></view>"
           "<form name='Memo'><body><richtext><pardef id='1'/><par def='1'>Subject: <field name='Subject'"
           " type='text'/></par><par def='1'><field name='Body' "
           "type='richtext'/></par></richtext></body></form>"
           "<document form='Memo'><noteinfo noteid='64' unid='" +
           kMemoUnid +
           "'/><item name='Subject'><text>Quarterly figures</text></item><item name='Body'><richtext>"
           "<pardef id='1'/><par def='1'><run><font style='bold' size='14pt'/>Sales grew in every "
           "region</run></par>"
           "<table><tablecolumn width='2in'/><tablecolumn width='1.5in'/><tablerow><tablecell "
           "bgcolor='yellow'>"
           "<par>Region</par></tablecell><tablecell><par>Revenue</par></tablecell></"
           "tablerow><tablerow><tablecell>"
           "<par>Northwind</par></tablecell><tablecell><par>4711</par></tablecell></tablerow></table>"
           "<par def='1'><picture width='96' height='64'><gif>" +
           Picture() +
           "</gif></picture></par><par def='1'>End of report.</par></richtext></item></document>" +
           "</database>";
}

bool Exists(const std::string &path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::string Command(const std::string &command) {
    std::string out;
    if (FILE *p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n = 0;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) {
            out.append(buf, n);
        }
        pclose(p);
    }
    return out;
}

// Waits for the detached printer, with a limit that only guards against a hang.
template <typename Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

class ClientPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::WriteFile(m_dir.File("memo.nsf"), Database());
        std::string ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()});
        ASSERT_EQ(testsupport::Standin::Get().Fn<decltype(&NotesInitIni)>("NotesInitIni")(ini.data()), 0);
        m_engine = dlopen((testsupport::ProgramDir() + "/libvxscript.so").c_str(), RTLD_NOW);
        ASSERT_NE(m_engine, nullptr) << dlerror();
        ASSERT_TRUE(Registry::SetString(RegistryHive::CurrentUser,
                                        "Software\\Microsoft\\Windows\\CurrentVersion\\Windows", "Device",
                                        "pdfFactory Pro,winspool,FPP4:"));
        for (std::string key : {std::string(kPrinterKey), std::string(kPrinterKey) + "\\PrinterDriverData"}) {
            ASSERT_TRUE(Registry::SetDword(RegistryHive::CurrentUser, key, "ShowDlg", 2));
            ASSERT_TRUE(Registry::SetDword(RegistryHive::CurrentUser, key, "PdfAction", 0));
        }
    }
    void TearDown() override { testsupport::Standin::Get().Fn<decltype(&NotesTerm)>("NotesTerm")(); }

    // Creates an engine, parses the script, invokes its Sub: 0, 1 (error filled) or 2.
    int RunScript(const std::string &text, const char *sub) {
        auto create =
            reinterpret_cast<void *(*)(const char *, const char *)>(dlsym(m_engine, "VxScriptCreate"));
        auto parse = reinterpret_cast<int (*)(void *, const char *, VxScriptError *)>(
            dlsym(m_engine, "VxScriptParse"));
        auto invoke = reinterpret_cast<int (*)(void *, const char *, VxScriptError *)>(
            dlsym(m_engine, "VxScriptInvoke"));
        auto destroy = reinterpret_cast<void (*)(void *)>(dlsym(m_engine, "VxScriptDestroy"));
        void *engine = create("VBScript", testsupport::StandinNotesPath().c_str());
        m_error = VxScriptError{};
        int rc = parse(engine, text.c_str(), &m_error);
        if (rc == 0) {
            rc = invoke(engine, sub, &m_error);
        }
        destroy(engine);
        return rc;
    }
    int OpenView(const std::string &view, const std::string &db = "memo.nsf") {
        return RunScript(
            "Sub OpenView\r\nSet ws = CreateObject(\"Notes.NOTESUIWORKSPACE\")\r\nCall ws.OpenDatabase(\"" +
                std::string() + "\", \"" + db + "\", \"" + view + "\")\r\nEnd Sub\r\n",
            "OpenView");
    }
    int SelectDoc(const std::string &unid, const std::string &db = "memo.nsf") {
        return RunScript(
            "Sub ViewSelectDoc\r\nSet ws = CreateObject(\"Notes.NOTESUIWORKSPACE\")\r\n"
            "Set Sess = CreateObject(\"Notes.NOTESSESSION\")\r\nSet ThisDb = Sess.GetDatabase(\"\", \"" +
                db + "\")\r\nSet doc = ThisDb.GetDocumentByUNID(\"" + unid +
                "\")\r\nif Not doc Is Nothing then\r\nThisCount = ThisCount + 1\r\n"
                "rv = ws.CurrentView.SelectDocument(doc)\r\nEnd If\r\nEnd Sub\r\n",
            "ViewSelectDoc");
    }
    int PrintSelected(const std::string &pdf) {
        EXPECT_TRUE(Registry::SetString(RegistryHive::CurrentUser, kVersionKey, "OutputFile", pdf));
        return RunScript(
            "Sub PrintSelected\r\nSet ws = CreateObject(\"Notes.NOTESUIWORKSPACE\")\r\n"
            "rc = ws.CurrentView.Print(1)\r\nEnd Sub\r\n",
            "PrintSelected");
    }
    static std::string OutputFile() {
        return Registry::GetString(RegistryHive::CurrentUser, kVersionKey, "OutputFile")
            .value_or("<missing>");
    }

    testsupport::TempDir m_dir;
    platformtest::ScopedEnv m_registry{"VORLIX_REGISTRY", m_dir.File("registry.ini").c_str()};
    void *m_engine = nullptr;
    VxScriptError m_error{};
};

TEST_F(ClientPrintTest, PrintsTheSelectedDocumentAsPdfWithItsTableAndPicture) {
    ASSERT_EQ(OpenView("Memos"), 0) << m_error.description;
    ASSERT_EQ(SelectDoc(kMemoUnid), 0) << m_error.description;
    const std::string pdf = m_dir.File("out/Quarterly figures.pdf");
    ASSERT_EQ(mkdir(m_dir.File("out").c_str(), 0755), 0);
    ASSERT_EQ(PrintSelected(pdf), 0) << m_error.description;
    ASSERT_TRUE(WaitFor([] { return OutputFile().empty(); })) << OutputFile();
    ASSERT_TRUE(Exists(pdf));
    std::string text = Command("pdftotext -layout '" + pdf + "' -");
    for (const char *expected : {"Subject: Quarterly figures", "Sales grew in every region", "Region",
                                 "Revenue", "Northwind", "4711", "End of report."}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
    }
    // pdfimages lists a header of two lines, then one line per image.
    std::string images = Command("pdfimages -list '" + pdf + "'");
    EXPECT_NE(images.find("   48    32 "), std::string::npos) << images;
    testsupport::ExpectNothingLeft();  // the client keeps no database or note open between scripts
}

// An order of the demo database prints through the demo's Order form: its logo, heading and table.
TEST_F(ClientPrintTest, PrintsADemoOrderThroughItsForm) {
    testsupport::WriteFile(m_dir.File("sales.nsf"),
                           testsupport::ReadFile(testsupport::SourcePath("examples/demo/sales.nsf")));
    ASSERT_EQ(OpenView("Orders\\By Status", "sales.nsf"), 0) << m_error.description;
    ASSERT_EQ(SelectDoc("C1257E2A004F3A105A17000000000029", "sales.nsf"), 0) << m_error.description;
    const std::string pdf = m_dir.File("order.pdf");
    ASSERT_EQ(PrintSelected(pdf), 0) << m_error.description;
    ASSERT_TRUE(WaitFor([] { return OutputFile().empty(); })) << OutputFile();
    std::string text = Command("pdftotext -layout '" + pdf + "' -");
    for (const char *expected :
         {"Order 24001", "Customer", "Harbor SARL", "Products", "Order for Harbor SARL."}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
    }
    EXPECT_NE(Command("pdfimages -list '" + pdf + "'").find("  120    36 "), std::string::npos);
}

TEST_F(ClientPrintTest, ScriptErrorsOfTheClient) {
    // A view that does not exist fails OpenView with the failing line.
    EXPECT_EQ(OpenView("No Such View"), 1);
    EXPECT_EQ(m_error.line, 3);
    EXPECT_NE(std::string(m_error.description).find("No Such View"), std::string::npos)
        << m_error.description;
    EXPECT_EQ(std::string(m_error.sourceLine), "Call ws.OpenDatabase(\"\", \"memo.nsf\", \"No Such View\")");
    // A document that is not there selects nothing, and the print that follows prints nothing.
    ASSERT_EQ(OpenView("Memos"), 0) << m_error.description;
    EXPECT_EQ(SelectDoc("00000000000000000000000000000099"), 0) << m_error.description;
    EXPECT_EQ(PrintSelected(m_dir.File("none.pdf")), 0) << m_error.description;
    EXPECT_EQ(OutputFile(), m_dir.File("none.pdf"));
    EXPECT_EQ(SelectDoc("not a unid"), 1);
    EXPECT_EQ(m_error.line, 5);
    testsupport::ExpectNothingLeft();
}

struct PrinterCase {
    const char *name;
    const char *device;
    DWORD showDlg;
    DWORD silent;
    DWORD delayMs;
    bool writes;
    bool clears;
};

class PrinterSettingsTest : public ClientPrintTest, public ::testing::WithParamInterface<PrinterCase> {};

TEST_P(PrinterSettingsTest, DecideWhatTheJobDoes) {
    const PrinterCase &c = GetParam();
    ASSERT_TRUE(Registry::SetString(RegistryHive::CurrentUser,
                                    "Software\\Microsoft\\Windows\\CurrentVersion\\Windows", "Device",
                                    c.device));
    ASSERT_TRUE(Registry::SetDword(RegistryHive::CurrentUser,
                                   std::string(kPrinterKey) + "\\PrinterDriverData", "ShowDlg", c.showDlg));
    ASSERT_TRUE(Registry::SetDword(RegistryHive::CurrentUser, kStandinKey, "Silent", c.silent));
    ASSERT_TRUE(Registry::SetDword(RegistryHive::CurrentUser, kStandinKey, "DelayMs", c.delayMs));
    ASSERT_EQ(OpenView("Memos"), 0) << m_error.description;
    ASSERT_EQ(SelectDoc(kMemoUnid), 0) << m_error.description;
    const std::string pdf = m_dir.File("job.pdf");
    ASSERT_EQ(PrintSelected(pdf), 0) << m_error.description;
    if (c.writes) {
        ASSERT_TRUE(WaitFor([&] { return Exists(pdf); }));
    }
    if (c.clears) {
        EXPECT_TRUE(WaitFor([] { return OutputFile().empty(); }));
    } else {
        EXPECT_EQ(OutputFile(), pdf);  // the program's wait runs into its time-out
    }
    EXPECT_EQ(Exists(pdf), c.writes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrinterSettingsTest,
    ::testing::Values(PrinterCase{"Slow", "pdfFactory Pro,winspool,FPP4:", 2, 0, 300, true, true},
                      PrinterCase{"Silent", "pdfFactory Pro,winspool,FPP4:", 2, 1, 0, true, false},
                      PrinterCase{"DialogShown", "pdfFactory Pro,winspool,FPP4:", 1, 0, 0, false, false},
                      PrinterCase{"OtherDefaultPrinter", "Laser,winspool,LPT1:", 2, 0, 0, false, false}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
