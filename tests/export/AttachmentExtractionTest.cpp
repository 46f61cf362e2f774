// Attachments and OLE objects through the export run: hostile names, failures of the Notes extraction
// calls, and the files of real DXL data written byte for byte.
#include <algorithm>
#include <filesystem>

#include "ExportTestSupport.h"
#include "notes/NotesApi.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesErrorText.h"
#include "support/DxlBuilder.h"

namespace exporttest {
namespace {

namespace fs = std::filesystem;

// The files below dir, as paths relative to it, sorted.
std::vector<std::string> FilesBelow(const std::string &dir) {
    std::vector<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), dir).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Text for an XML attribute; a tab as a character reference, which attribute normalisation keeps.
std::string AttributeText(const std::string &text) {
    std::string escaped = testsupport::XmlEscape(text);
    for (std::size_t at = escaped.find('\t'); at != std::string::npos; at = escaped.find('\t', at)) {
        escaped.replace(at, 1, "&#9;");
    }
    return escaped;
}

class AttachmentExtractionTest : public ExportRunTest {
public:
    config::DatabaseExportProfile AttachmentProfile(const std::string &fixture, int detachMethod) {
        auto profile = Profile(fixture);
        profile.Settings.ExtractAttachments = true;
        profile.Settings.ExtractOle = true;
        profile.Settings.DetachMethod = detachMethod;
        profile.Settings.SummaryFilePath = m_dir.File("summary.csv");
        SetColumns(profile, {"%Count", "%Extr_Att_Names", "%Errors"});
        return profile;
    }
    std::string Csv() const { return testsupport::ReadFile(m_dir.File("summary.csv")); }
};

// One document per name, all written into the one output directory.
struct HostileName {
    std::string stored;
    std::string written;  // empty: the file cannot be written
};

TEST_F(AttachmentExtractionTest, HostileNamesStayInTheDirectoryAndNeverReplaceAnotherDocumentsFile) {
    const std::string longName = std::string(5000, 'x') + ".txt";
    const std::vector<HostileName> names = {
        {"../escape.txt", "..~escape.txt"},
        {"/etc/passwd", "~etc~passwd"},
        {"dir/escape.txt", "dir~escape.txt"},
        {"dir\\escape.txt", "dir~escape2.txt"},  // sanitised to the first one's name: numbered
        {"..", "~~"},
        {"   ", "~"},
        {"a:b.txt", "a~b.txt"},
        {"q\"*?<>|.txt", "q~~~~~~.txt"},
        {"tab\there.txt", "tab~here.txt"},
        {"Report.TXT", "Report.TXT"},
        {"report.txt", "report2.txt"},  // differs only in case
        {"Αρχείο.txt", "Αρχείο.txt"},
        {"報告書.txt", "報告書.txt"},
        {"تقرير.txt", "تقرير.txt"},
        {longName, ""},
    };
    std::string dxl =
        "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl' "
        "xmlns:vx='urn:vorlix:standin-dxl'>\n<view name='All'><noteinfo noteid='10' "
        "unid='DDDDDDDDDDDDDDDDDDDDDDDDDDDD0010'/><vx:entries>";
    for (std::size_t i = 0; i < names.size(); ++i) {
        dxl += "<vx:entry noteid='" + std::to_string(100 + 4 * i) + "'/>";
    }
    dxl += "</vx:entries></view>\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
        dxl += "<document><noteinfo noteid='" + std::to_string(100 + 4 * i) +
               "'/><item name='$FILE'><object><file hosttype='msdos' name='" +
               AttributeText(names[i].stored) +
               "'><filedata>ZmlsZQ==</filedata></file></object></item></document>\n";
    }
    dxl += "</database>\n";
    testsupport::WriteFile(m_dir.File("hostile.nsf"), dxl);
    auto profile = AttachmentProfile("Sales.nsf", config::kDetachToBaseDirectory);
    profile.Settings.NSFFilePath = m_dir.File("hostile.nsf");

    ASSERT_TRUE(Run(profile)) << m_run->LastError();

    std::vector<std::string> expected;
    for (const HostileName &name : names) {
        if (!name.written.empty()) {
            expected.push_back(name.written);
            EXPECT_EQ(testsupport::ReadFile(OutPath(name.written)), "file") << name.written;
        }
    }
    std::sort(expected.begin(), expected.end());
    // The output directory holds exactly these; nothing was written beside it or above it.
    EXPECT_EQ(FilesBelow(m_dir.File("out")), expected);
    EXPECT_EQ(FilesBelow(m_dir.Path()).size(), expected.size() + 3) << "the two databases and the CSV";
    EXPECT_FALSE(fs::exists(fs::path(m_dir.Path()).parent_path() / "escape.txt"));
    const std::string csv = Csv();
    EXPECT_NE(csv.find("\"15\",\"\",\"Unable to extract file '" + longName + "' to path '" +
                       m_dir.File("out") + "' for reason "),
              std::string::npos)
        << csv.substr(0, 2000);
}

TEST_F(AttachmentExtractionTest, ADirectoryThatCannotBeCreatedIsReportedAndTheRunGoesOn) {
    auto profile = AttachmentProfile("Attachments.nsf", config::kDetachToCountSubdir);
    testsupport::WriteFile(OutPath("0000001"), "a file where the directory would go");
    testsupport::WriteFile(OutPath("0000003"), "a file where the directory would go");
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    const std::string csv = Csv();
    for (const std::string &row :
         {"\"1\",\"\",\"Unable to create folder path: " + OutPath("0000001") + "\"\r\n",
          std::string("\"2\",\"report.doc\",\"\"\r\n"),
          "\"3\",\"\",\"Unable to create folder path: " + OutPath("0000003") + "\"\r\n"}) {
        EXPECT_NE(csv.find(row), std::string::npos) << row << "\n---\n" << csv;
    }
}

struct ExtractionFault {
    const char *name;
    const char *entryPoint;
    DWORD nth;
    bool every;
    // Rows of documents 1, 3 and 12 (%Count, %Extr_Att_Names, %Errors); "<out>" is the output
    // directory, "<E>" the injected status's message.
    std::vector<std::string> rows;
    std::vector<std::string> oleFiles;  // written below out/0000003
};

class ExtractionFaultTest : public AttachmentExtractionTest,
                            public ::testing::WithParamInterface<ExtractionFault> {};

TEST_P(ExtractionFaultTest, EachFailureIsReportedAndTheRunGoesOn) {
    const ExtractionFault &c = GetParam();
    constexpr STATUS kInjected = 0x0103;
    auto profile = AttachmentProfile("Attachments.nsf", config::kDetachToCountSubdir);
    testsupport::Standin::Get().SetFault(c.entryPoint, c.nth, kInjected, c.every);
    ASSERT_TRUE(Run(profile)) << m_run->LastError();
    testsupport::Standin::Get().ClearFaults();

    const std::string csv = Csv();
    for (std::string row : c.rows) {
        for (const auto &[marker, value] : {std::pair<std::string, std::string>{"<out>", m_dir.File("out")},
                                            {"<E>", notes::NotesErrorText(kInjected)}}) {
            for (std::size_t at = row.find(marker); at != std::string::npos; at = row.find(marker, at)) {
                row.replace(at, marker.size(), value);
            }
        }
        EXPECT_NE(csv.find(row + "\r\n"), std::string::npos) << row << "\n---\n" << csv;
    }
    std::vector<std::string> ole;
    for (const auto &file : FilesBelow(OutPath("0000003"))) {
        ole.push_back(file);
    }
    EXPECT_EQ(ole, c.oleFiles);
}

const char kAllWritten[] = "\"12\",\"SCAN3.pdf;Scan.pdf;scan2.PDF;agent-note.txt\",\"\"";

INSTANTIATE_TEST_SUITE_P(
    Faults, ExtractionFaultTest,
    ::testing::Values(
        // The retry writes the file the first call failed to write.
        ExtractionFault{"file_once",
                        "NSFNoteExtractFile",
                        1,
                        false,
                        {"\"1\",\"report.doc\",\"\"", kAllWritten},
                        {"EXT41A2.ole", "EXT77B3.ole"}},
        // Every call fails: one text per attachment, run together without a line break.
        ExtractionFault{
            "file_always",
            "NSFNoteExtractFile",
            1,
            true,
            {"\"1\",\"\",\"Unable to extract file 'report.doc' to path '<out>/0000001' for reason <E>\"",
             "\"12\",\"\",\"Unable to extract file 'SCAN3.pdf' to path '<out>/0000012' for reason "
             "<E>Unable to extract file 'Scan.pdf' to path '<out>/0000012' for reason <E>Unable to "
             "extract file 'scan2.PDF' to path '<out>/0000012' for reason <E>Unable to extract file "
             "'agent-note.txt' to path '<out>/0000012' for reason <E>\""},
            {"EXT41A2.ole", "EXT77B3.ole"}},
        ExtractionFault{"ole_second",
                        "NSFNoteExtractOLE2Object",
                        2,
                        false,
                        {"\"1\",\"report.doc\",\"\"", "\"3\",\"\",\"<E>\"", kAllWritten},
                        {"EXT41A2.ole"}},
        ExtractionFault{
            "ole_always", "NSFNoteExtractOLE2Object", 1, true, {"\"3\",\"\",\"<E>\n<E>\"", kAllWritten}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

// Design notes of real DXL whose file data becomes a "$FILE" object: exported as caller-supplied
// documents, the file is written with exactly the decoded bytes.
struct RealFile {
    const char *name;
    const char *file;
    NOTEID noteId;
    const char *written;
};

class RealDataAttachmentTest : public AttachmentExtractionTest,
                               public ::testing::WithParamInterface<RealFile> {};

TEST_P(RealDataAttachmentTest, FileDataIsWrittenByteForByte) {
    const RealFile &c = GetParam();
    const std::string path = m_dir.File("real.nsf");
    fs::copy_file(testsupport::RealDataPath(c.file), path);
    notes::NotesDatabase db;
    ASSERT_TRUE(db.Open("", path)) << db.LastError();
    const auto &fn = notes::Api().fn;
    DHANDLE table = notes::kNullHandle;
    ASSERT_EQ(fn.IDCreateTable(sizeof(NOTEID), &table), 0);
    ASSERT_EQ(fn.IDInsert(table, c.noteId, nullptr), 0);
    auto profile = AttachmentProfile("Sales.nsf", config::kDetachToBaseDirectory);
    profile.Settings.SelectMethod = config::kSelectIdTable;
    profile.SuppliedDatabase = db.Handle();
    profile.SuppliedIdTable = table;
    profile.DatabaseSupplied = true;
    SetColumns(profile, {"%Attach_Names", "%Extr_Att_Names"});
    const bool ran = Run(profile);
    EXPECT_EQ(fn.IDDestroyTable(table), 0);
    db.Close();
    ASSERT_TRUE(ran) << m_run->LastError();
    EXPECT_EQ(Csv(), std::string("\"%Attach_Names\",\"%Extr_Att_Names\"\r\n\"") + c.written + "\",\"" +
                         c.written + "\"\r\n");
    const std::string expected =
        testsupport::ReadFile(testsupport::RealDataPath("domino-jnx/help_vampire.gif"));
    ASSERT_EQ(expected.size(), 42396u);
    EXPECT_TRUE(testsupport::ReadFile(OutPath(c.written)) == expected) << "the written bytes differ";
}

INSTANTIATE_TEST_SUITE_P(
    RealData, RealDataAttachmentTest,
    ::testing::Values(RealFile{"file_resource", "domino-jnx/fileresource_filedata_help_vampire.xml", 0x292,
                               "file-help_vampire.gif"},
                      RealFile{"image_resource", "domino-jnx/imageresource_gif_help_vampire.xml", 0x16BA,
                               "help_vampire.gif"}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace exporttest
