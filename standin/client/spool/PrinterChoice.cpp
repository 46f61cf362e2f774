// The default printer and its driver settings, read from the registry store.
#include "PrinterChoice.h"

namespace standin::spool {

namespace {

constexpr std::uint32_t kShowDlgNever = 2;

std::string DefaultPrinter(const RegistryStore &store) {
    std::string device = store.String(kDefaultPrinterKey, "Device").value_or("");
    if (device.empty()) {
        device = store.String(kDefaultPrinterKeyNt, "Device").value_or("");
    }
    return device.substr(0, device.find(','));
}

}  // namespace

PrinterChoice ChoosePrinter(const RegistryStore &store) {
    PrinterChoice c;
    c.printer = DefaultPrinter(store);
    if (c.printer.empty()) {
        c.reason = "there is no default printer";
        return c;
    }
    // The installed driver version: the stand-in's own setting, else the version whose printer key
    // names the default printer (the one waiting for a file first, when there are several).
    std::string version = store.String(kStandinPrinterKey, "Version").value_or("");
    std::string printerKey;
    if (version.empty()) {
        for (const std::string &v : store.SubKeys(kDriverKey)) {
            std::string vKey = std::string(kDriverKey) + "\\" + v;
            if (!store.KeyExists(vKey + "\\FinePrinters\\" + c.printer)) {
                continue;
            }
            if (version.empty() || !store.String(vKey, "OutputFile").value_or("").empty()) {
                version = v;
            }
        }
    }
    c.versionKey = std::string(kDriverKey) + "\\" + version;
    printerKey = c.versionKey + "\\FinePrinters\\" + c.printer;
    if (version.empty() || !store.KeyExists(printerKey)) {
        c.reason = "the default printer \"" + c.printer + "\" is not a PDF printer of an installed driver";
        return c;
    }
    std::string driverData = printerKey + "\\PrinterDriverData";
    auto setting = [&](const char *name, std::uint32_t fallback) {
        return store.Dword(driverData, name).value_or(store.Dword(printerKey, name).value_or(fallback));
    };
    if (setting("ShowDlg", 1) != kShowDlgNever) {
        c.reason = "the printer shows its save dialog (ShowDlg is not 2), which needs a display";
        return c;
    }
    c.pdfAction = setting("PdfAction", 0);
    c.outputFile = store.String(c.versionKey, "OutputFile").value_or("");
    if (c.outputFile.empty()) {
        c.reason = "OutputFile is empty: the printer would ask for a file name";
        return c;
    }
    c.delayMs = store.Dword(kStandinPrinterKey, "DelayMs").value_or(0);
    c.silent = store.Dword(kStandinPrinterKey, "Silent").value_or(0) != 0;
    c.prints = true;
    return c;
}

}  // namespace standin::spool
