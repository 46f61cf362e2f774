// The PDF phase: driver set-up, the walk over the queued views and documents with one print job
// outstanding at a time, the time-out question, and the driver's restore on every way out.
#include "PdfPhase.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "config/ExportSettings.h"
#include "export/PdfPrinterSettings.h"
#include "export/PdfScripts.h"
#include "platform/AppInfo.h"
#include "platform/ForeignWindow.h"
#include "platform/ScriptHost.h"
#include "platform/UserInterface.h"

namespace exporter {

namespace {

// The Notes client's main window.
constexpr char kClientWindowClass[] = "NOTES";
// One step of every wait: the cancel flag is read between steps.
constexpr int kWaitStepMilliseconds = 100;

constexpr char kTimeoutCaption[] = "Create PDF Timeout";
constexpr char kTimeoutText[] =
    "Error: Time out occurened waiting for print to pdfFactory.\n\nMake sure that pdfFactory is the default "
    "printer and your Create PDF settings specify the correct pdfFactory version and edition.\n\nCheck "
    "Lotus Notes for any error message popups, clear them (click OK) but do not exit the active view or "
    "folder.\n\nDo you wish to retry or cancel this export?";

std::atomic<int> g_settleMilliseconds{kPdfDriverSettleMilliseconds};

// Closes the view left open in the client; there is nothing to close when the client has no window.
void CloseClientView() {
    static_cast<void>(platform::SendEscapeToWindowOfClass(kClientWindowClass));
}

void Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The driver writes from a process of its own, whose working directory is not the program's: a
// relative output path is handed over in full.
std::string DriverPath(const std::string &path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

// A script's text parsed and its Sub run; false when either fails (a script error was shown).
bool RunSub(platform::ScriptHost &host, const std::string &text, const char *sub) {
    return host.RunScript(kPdfScriptLanguage, text) && host.InvokeSub(sub);
}

}  // namespace

void SetPdfDriverSettleTimeForTests(int milliseconds) {
    g_settleMilliseconds = std::max(0, milliseconds);
}

PdfPhase::PdfPhase(const config::ExportSettings &settings, std::atomic<bool> &cancel, bool showProgress)
    : m_settings(settings), m_cancel(cancel), m_showProgress(showProgress) {}

void PdfPhase::Run(const PdfWorkLists &lists, const std::string &notesLibrary) {
    {
        const PdfPrinterSettings printer(m_settings.PdfVersionString, m_settings.PdfEditionString);
        if (SettleWait()) {
            platform::ScriptHost host(notesLibrary);
            WalkLists(lists, host, printer);
        }
    }  // the driver is restored here, whichever way the walk ended
    CloseClientView();
}

// The driver's wait for its new settings, in steps, so that a cancel ends it early.
bool PdfPhase::SettleWait() {
    int remaining = g_settleMilliseconds.load();
    while (remaining > 0 && !m_cancel.load()) {
        const int now = std::min(kWaitStepMilliseconds, remaining);
        Sleep(now);
        remaining -= now;
    }
    return !m_cancel.load();
}

void PdfPhase::WalkLists(const PdfWorkLists &lists, platform::ScriptHost &host,
                         const PdfPrinterSettings &printer) {
    if (m_showProgress) {
        platform::Ui().Progress(0, lists.count);
    }
    const std::size_t entries = std::min(lists.work.size(), lists.names.size());
    long views = 0;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::string &name = lists.names[i];
        if (lists.work[i] == PdfWorkLists::kViewMarker) {
            if (++views > 1) {
                CloseClientView();
            }
            if (!RunSub(host, OpenViewScript(m_settings.NSFSever, m_settings.NSFFilePath, name),
                        kOpenViewSub)) {
                m_cancel.store(true);
                platform::ShowMessage("Unable to open view/folder:" + name, platform::AppInfo::Name(),
                                      platform::MessageIcon::Exclamation);
                return;
            }
            continue;
        }
        ++m_printed;
        if (m_showProgress) {
            platform::Ui().Progress(m_printed, lists.count);
            platform::Ui().Status("PDFs Exported " + std::to_string(m_printed) + " of " +
                                  std::to_string(lists.count));
        }
        // Neither result is checked: a document the client cannot find leaves the selection as it
        // was, and a failed print shows as the printer's time-out.
        static_cast<void>(
            RunSub(host, ViewSelectDocScript(m_settings.NSFSever, m_settings.NSFFilePath, lists.work[i]),
                   kViewSelectDocSub));
        static_cast<void>(printer.SetOutputFile(DriverPath(name)));
        static_cast<void>(RunSub(host, PrintSelectedScript(), kPrintSelectedSub));
        WaitForPrinter(printer);
        static_cast<void>(printer.SetOutputFile(""));
        if (m_cancel.load()) {
            return;
        }
    }
}

// One print job: the driver empties OutputFile once it has written the file. The cancel flag is read
// at every step.
void PdfPhase::WaitForPrinter(const PdfPrinterSettings &printer) {
    int elapsed = 0;
    std::string outstanding = printer.OutputFile();
    while (!outstanding.empty() && !m_cancel.load()) {
        Sleep(kWaitStepMilliseconds);
        ++m_waitSteps;
        elapsed += kWaitStepMilliseconds;
        if (elapsed > m_settings.PdfTimeOut) {
            const platform::MessageAnswer answer =
                platform::Ui().Message(kTimeoutText, kTimeoutCaption, platform::MessageIcon::Error,
                                       platform::MessageButtons::RetryCancel);
            if (answer == platform::MessageAnswer::Retry) {
                elapsed = 0;
            } else {
                m_cancel.store(true);
            }
        }
        outstanding = printer.OutputFile();
    }
}

}  // namespace exporter
