// The PDF phase of an export run: after the view loop, every document queued for PDF is printed to its
// own PDF file, view by view, by scripts that drive the Notes client and the pdfFactory printer.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace config {
struct ExportSettings;
}

namespace platform {
class ScriptHost;
}

namespace exporter {

class PdfPrinterSettings;

// What the export loop queued for the phase. The two lists go in step: for each view its marker in
// work and its name in names, then for each open document its universal ID in work and its PDF path
// in names.
struct PdfWorkLists {
    static constexpr char kViewMarker[] = "~";

    std::vector<std::string> work;
    std::vector<std::string> names;
    long count = 0;  // documents queued
};

// How long the phase lets the driver take its new settings before the first print.
inline constexpr int kPdfDriverSettleMilliseconds = 4000;
// For tests only, never set by the program: replaces that wait for the rest of the process.
void SetPdfDriverSettleTimeForTests(int milliseconds);

class PdfPhase {
public:
    // showProgress: set the progress range and position and the status text.
    PdfPhase(const config::ExportSettings &settings, std::atomic<bool> &cancel, bool showProgress);

    // Prepares the driver, waits for it, walks the lists and restores the driver on every way out. The
    // scripts run in the Notes runtime at notesLibrary. Sets the cancel flag itself when a view cannot
    // be opened or the user cancels a time-out; the run still ends as successful.
    void Run(const PdfWorkLists &lists, const std::string &notesLibrary);

    // Documents handed to the printer so far.
    long Printed() const { return m_printed; }
    // 100-millisecond steps spent waiting for the printer so far.
    long WaitSteps() const { return m_waitSteps; }

private:
    [[nodiscard]] bool SettleWait();
    void WalkLists(const PdfWorkLists &lists, platform::ScriptHost &host, const PdfPrinterSettings &printer);
    void WaitForPrinter(const PdfPrinterSettings &printer);

    const config::ExportSettings &m_settings;
    std::atomic<bool> &m_cancel;
    bool m_showProgress;
    long m_printed = 0;
    long m_waitSteps = 0;
};

}  // namespace exporter
