// Run-time loading of shared libraries with dlopen, reporting the loader's own message on failure.
#include "DynamicLibrary.h"

#include <dlfcn.h>

namespace platform {

void *LoadLibraryFile(const std::string &path, std::string &error) {
    error.clear();
    dlerror();
    void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char *message = dlerror();
        error = message != nullptr ? message : "Cannot load '" + path + "'";
    }
    return library;
}

bool FreeLibraryHandle(void *library) {
    if (library == nullptr) {
        return true;
    }
    return dlclose(library) == 0;
}

void *LibrarySymbol(void *library, const char *name) {
    if (library == nullptr || name == nullptr) {
        return nullptr;
    }
    dlerror();
    return dlsym(library, name);
}

}  // namespace platform
