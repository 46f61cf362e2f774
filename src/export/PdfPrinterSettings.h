// The pdfFactory printer driver's registry settings for the length of the PDF phase: set up when made
// (no dialog, no action after a print), restored when dropped, so that every way out of the phase
// leaves the driver as a user's own prints expect it.
#pragma once

#include <string>

namespace exporter {

// The driver's keys under HKEY_CURRENT_USER for a version ("pdfFactory4") and an edition (the printer
// name, "pdfFactory Pro").
std::string PdfVersionKey(const std::string &version);
std::string PdfPrinterKey(const std::string &version, const std::string &edition);
std::string PdfDriverDataKey(const std::string &version, const std::string &edition);

class PdfPrinterSettings {
public:
    // ShowDlg 2 and PdfAction 0 under the PrinterDriverData key, then under the printer key. A write
    // that fails is shown ("Unable to get key", "Unable to write Value") and the set-up goes on.
    PdfPrinterSettings(const std::string &version, const std::string &edition);
    // OutputFile emptied; ShowDlg 1 and PdfAction 0 under the printer key, then under the
    // PrinterDriverData key.
    ~PdfPrinterSettings();
    PdfPrinterSettings(const PdfPrinterSettings &) = delete;
    PdfPrinterSettings &operator=(const PdfPrinterSettings &) = delete;

    // The path the driver writes the next print job to; empty text when it has written the last one.
    [[nodiscard]] bool SetOutputFile(const std::string &path) const;
    // A missing value reads as empty text (nothing outstanding).
    std::string OutputFile() const;

private:
    void WriteDialogAndAction(const std::string &key, unsigned showDialog) const;

    std::string m_versionKey;
    std::string m_printerKey;
    std::string m_driverDataKey;
};

}  // namespace exporter
