// The optional Qt part of the add-in (libquorvane_qt.so beside libquorvane.so): its library name and
// the two C functions it exports. The add-in loads it only into a process that already runs Qt
// Widgets, so the add-in itself never depends on Qt.
#pragma once

namespace quorvane {

inline constexpr char kQtPartLibrary[] = "libquorvane_qt.so";
// The Qt Widgets library whose presence in the process tells that it may have a GUI.
inline constexpr char kQtWidgetsLibrary[] = "libQt6Widgets.so.6";

// int QuorvaneQtPromptPassword(const char *settingsPath): shows the add-in's password dialog; 1 when a
// password was saved to the settings file, 0 when cancelled, -1 when the process has no QApplication
// or the call is not on its thread.
inline constexpr char kQtPromptFunction[] = "QuorvaneQtPromptPassword";
using QtPromptFunction = int (*)(const char *settingsPath);

// int QuorvaneQtShowMessage(const char *text, const char *caption): a message box; 1 when shown, -1
// when the process has no QApplication or the call is not on its thread.
inline constexpr char kQtMessageFunction[] = "QuorvaneQtShowMessage";
using QtMessageFunction = int (*)(const char *text, const char *caption);

}  // namespace quorvane
