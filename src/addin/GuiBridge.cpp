// Finding the add-in's Qt part at run time, only in a process that already has Qt Widgets loaded.
#include "GuiBridge.h"

#include <dlfcn.h>

#include <cstdio>

#include "QtPart.h"
#include "platform/Paths.h"

namespace quorvane {

namespace {

inline constexpr char kCaption[] = "Quorvane";

// The directory libquorvane.so was loaded from; its Qt part lives beside it.
std::string AddinDirectory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&AddinDirectory), &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    return platform::DirectoryOf(info.dli_fname);
}

bool ProcessRunsQtWidgets() {
    void *widgets = dlopen(kQtWidgetsLibrary, RTLD_LAZY | RTLD_NOLOAD);
    if (widgets == nullptr) {
        return false;
    }
    dlclose(widgets);
    return true;
}

// A function of the Qt part, or null when the process has no Qt Widgets or the part is missing (a
// build without Qt). The part stays loaded for the life of the process, as Qt code is not unloaded.
void *QtPartFunction(const char *name) {
    if (!ProcessRunsQtWidgets()) {
        return nullptr;
    }
    const std::string directory = AddinDirectory();
    if (directory.empty()) {
        return nullptr;
    }
    void *part = dlopen(platform::JoinPath(directory, kQtPartLibrary).c_str(), RTLD_NOW | RTLD_LOCAL);
    return part == nullptr ? nullptr : dlsym(part, name);
}

}  // namespace

PromptResult AskWithOwnDialog(const std::string &settingsPath) {
    auto prompt = reinterpret_cast<QtPromptFunction>(QtPartFunction(kQtPromptFunction));
    if (prompt == nullptr) {
        return PromptResult::Cancelled;
    }
    return prompt(settingsPath.c_str()) == 1 ? PromptResult::Saved : PromptResult::Cancelled;
}

void ShowAddinMessage(const std::string &text) {
    auto message = reinterpret_cast<QtMessageFunction>(QtPartFunction(kQtMessageFunction));
    if (message != nullptr && message(text.c_str(), kCaption) == 1) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", kCaption, text.c_str());
}

}  // namespace quorvane
