// Run-time library loading: symbols found, missing ones null, failures carry the loader's message.
#include <gtest/gtest.h>

#include <string>

#include "platform/DynamicLibrary.h"

namespace {

TEST(DynamicLibrary, LoadsFindsSymbolsAndUnloads) {
    std::string error = "stale";
    void *library = platform::LoadLibraryFile("libc.so.6", error);
    ASSERT_NE(library, nullptr) << error;
    EXPECT_EQ(error, "");
    EXPECT_NE(platform::LibrarySymbol(library, "strlen"), nullptr);
    EXPECT_EQ(platform::LibrarySymbol(library, "NoSuchEntryPoint"), nullptr);
    EXPECT_EQ(platform::LibrarySymbol(library, nullptr), nullptr);
    EXPECT_TRUE(platform::FreeLibraryHandle(library));
}

TEST(DynamicLibrary, MissingFileGivesTheLoaderMessage) {
    std::string error;
    EXPECT_EQ(platform::LoadLibraryFile("/nonexistent/libnotes.so", error), nullptr);
    EXPECT_NE(error.find("/nonexistent/libnotes.so"), std::string::npos) << error;
    EXPECT_EQ(platform::LibrarySymbol(nullptr, "strlen"), nullptr);
    EXPECT_TRUE(platform::FreeLibraryHandle(nullptr));
}

}  // namespace
