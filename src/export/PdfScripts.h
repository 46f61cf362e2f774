// The three scripts of PDF creation, built from fixed texts with their arguments inserted verbatim
// between double quotes, lines ended by CR LF: open a view in the Notes client, select one document
// of it by universal ID, print the selection.
#pragma once

#include <string>

namespace exporter {

// The language the scripts are written in.
inline constexpr char kPdfScriptLanguage[] = "VBScript";
// The names of the scripts' single Subs.
inline constexpr char kOpenViewSub[] = "OpenView";
inline constexpr char kViewSelectDocSub[] = "ViewSelectDoc";
inline constexpr char kPrintSelectedSub[] = "PrintSelected";

std::string OpenViewScript(const std::string &server, const std::string &databasePath,
                           const std::string &viewName);
std::string ViewSelectDocScript(const std::string &server, const std::string &databasePath,
                                const std::string &universalId);
std::string PrintSelectedScript();

}  // namespace exporter
