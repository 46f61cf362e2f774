// Entry points that no module implements answer with a status and never crash.
#include <gtest/gtest.h>

#include "notes/capi/NotesTypes.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Standin;

TEST(StandinPlaceholder, EveryEntryPointIsExported) {
    const char *names[] = {
#define NOTES_NOT_IMPLEMENTED 0
#define NOTES_API(ret, name, params, fail) #name,
#include "notes/capi/NotesEntryPoints.inc"
#undef NOTES_API
#undef NOTES_NOT_IMPLEMENTED
    };
    for (const char *name : names) {
        EXPECT_NE(Standin::Get().Symbol(name), nullptr) << name;
    }
}

}  // namespace
