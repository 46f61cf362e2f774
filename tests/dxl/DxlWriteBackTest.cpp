// A database written back as DXL reads again with the same item bytes.
#include <gtest/gtest.h>

#include <string>

#include "dxl/Database.h"
#include "dxl/DxlReader.h"
#include "dxl/DxlWriter.h"

namespace {

using standin::dxl::Database;
using standin::dxl::DxlReader;
using standin::dxl::DxlWriter;

const char kDatabase[] =
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<database xmlns='http://www.lotus.com/dxl' title='Write back'>\n"
    "<document form='Memo'>\n"
    "<item name='Body'><text>line one&#13;&#10;line two\tand a tab</text></item>\n"
    "<item name='Subject'><text>quotes \" and ' &amp; &lt;angles&gt;</text></item>\n"
    "</document>\n"
    "</database>\n";

TEST(DxlWriteBack, LineEndsTabsAndMarkupCharactersSurviveARoundTrip) {
    Database first;
    DxlReader reader;
    ASSERT_TRUE(reader.Read(kDatabase, "writeback.nsf", first)) << reader.LastError();
    ASSERT_EQ(first.notes.size(), 1u);

    const std::string written = DxlWriter::Write(first);
    Database second;
    DxlReader again;
    ASSERT_TRUE(again.Read(written, "writeback.nsf", second)) << again.LastError() << "\n" << written;
    ASSERT_EQ(second.notes.size(), 1u);

    for (const char *name : {"Body", "Subject"}) {
        const long a = first.notes[0].FindItem(name);
        const long b = second.notes[0].FindItem(name);
        ASSERT_GE(a, 0) << name;
        ASSERT_GE(b, 0) << name;
        EXPECT_EQ(first.notes[0].ItemValue(static_cast<std::size_t>(a)),
                  second.notes[0].ItemValue(static_cast<std::size_t>(b)))
            << name;
    }
    const long body = first.notes[0].FindItem("Body");
    EXPECT_NE(first.notes[0].ItemValue(static_cast<std::size_t>(body)).find("one\r\nline"),
              std::string::npos);
}

}  // namespace
