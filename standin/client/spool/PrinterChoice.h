// What the default printer does with a print job, decided from the registry store the way the PDF
// printer driver reads its settings: which printer is the default, which installed driver version owns
// it, whether it would show its dialog, and the file to write.
#pragma once

#include <cstdint>
#include <string>

#include "RegistryStore.h"

namespace standin::spool {

inline constexpr char kDefaultPrinterKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Windows";
inline constexpr char kDefaultPrinterKeyNt[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
inline constexpr char kDriverKey[] = "Software\\FinePrint Software";
// Settings of the stand-in printer itself: Version (text: the driver version installed, e.g.
// "pdfFactory4"), DelayMs (DWORD: wait after writing the file before clearing OutputFile) and
// Silent (DWORD: non-zero writes the file but never clears OutputFile).
inline constexpr char kStandinPrinterKey[] = "Software\\Vorlix Standin\\Printer";

struct PrinterChoice {
    bool prints = false;  // false: the job writes no file (reason says why)
    std::string reason;
    std::string printer;     // the default printer's name
    std::string versionKey;  // "Software\FinePrint Software\<version>": holds OutputFile
    std::string outputFile;  // where the PDF goes
    std::uint32_t pdfAction = 0;
    std::uint32_t delayMs = 0;
    bool silent = false;
};

PrinterChoice ChoosePrinter(const RegistryStore &store);

}  // namespace standin::spool
