// The pdfFactory driver's registry values, written through the registry store.
#include "PdfPrinterSettings.h"

#include "platform/Registry.h"
#include "platform/RegistryWriters.h"

namespace exporter {

namespace {

constexpr platform::RegistryHive kHive = platform::RegistryHive::CurrentUser;
constexpr char kOutputFile[] = "OutputFile";
constexpr char kShowDialog[] = "ShowDlg";
constexpr char kPdfAction[] = "PdfAction";
constexpr unsigned kNoDialog = 2;
constexpr unsigned kDialog = 1;
constexpr unsigned kNoAction = 0;

}  // namespace

std::string PdfVersionKey(const std::string &version) {
    return "Software\\FinePrint Software\\" + version;
}

std::string PdfPrinterKey(const std::string &version, const std::string &edition) {
    return PdfVersionKey(version) + "\\FinePrinters\\" + edition;
}

std::string PdfDriverDataKey(const std::string &version, const std::string &edition) {
    return PdfPrinterKey(version, edition) + "\\PrinterDriverData";
}

PdfPrinterSettings::PdfPrinterSettings(const std::string &version, const std::string &edition)
    : m_versionKey(PdfVersionKey(version)),
      m_printerKey(PdfPrinterKey(version, edition)),
      m_driverDataKey(PdfDriverDataKey(version, edition)) {
    WriteDialogAndAction(m_driverDataKey, kNoDialog);
    WriteDialogAndAction(m_printerKey, kNoDialog);
}

PdfPrinterSettings::~PdfPrinterSettings() {
    static_cast<void>(SetOutputFile(""));
    WriteDialogAndAction(m_printerKey, kDialog);
    WriteDialogAndAction(m_driverDataKey, kDialog);
}

void PdfPrinterSettings::WriteDialogAndAction(const std::string &key, unsigned showDialog) const {
    // Each writer shows its own failure; the other value is still tried.
    static_cast<void>(platform::WriteRegistryDword(kHive, key, kShowDialog, showDialog));
    static_cast<void>(platform::WriteRegistryDword(kHive, key, kPdfAction, kNoAction));
}

bool PdfPrinterSettings::SetOutputFile(const std::string &path) const {
    return platform::WriteRegistryString(kHive, m_versionKey, kOutputFile, path);
}

std::string PdfPrinterSettings::OutputFile() const {
    return platform::Registry::GetString(kHive, m_versionKey, kOutputFile).value_or("");
}

}  // namespace exporter
