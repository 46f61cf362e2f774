// Decoding a PAB definition record.
#include "ParagraphFormat.h"

#include <algorithm>

#include "Records.h"

namespace standin::cd {

namespace nc = notes::cd;

ParagraphFormat ReadParagraphFormat(std::string_view r) {
    ParagraphFormat p;
    p.justify = Word(r, nc::kPabJustify);
    WORD flags = Word(r, nc::kPabFlags);
    WORD flags2 = Word(r, nc::kPabFlags2);
    long left = (flags2 & nc::kPabFlag2LmDefault) != 0 ? 1440 : Word(r, nc::kPabLeftMargin);
    long first = (flags2 & nc::kPabFlag2FirstDefault) != 0 ? left : Word(r, nc::kPabFirstLineMargin);
    p.left = std::max(0L, left - 1440);
    p.first = first - left;
    p.right = (flags2 & nc::kPabFlag2RmDefault) != 0 ? 0 : Word(r, nc::kPabRightMargin);
    p.before = Word(r, nc::kPabSpacingBefore) * 120L;
    p.after = Word(r, nc::kPabSpacingAfter) * 120L;
    p.list = (flags & nc::kPabFlagBullet) != 0 ? 1 : ((flags & nc::kPabFlagNumberedList) != 0 ? 2 : 0);
    return p;
}

}  // namespace standin::cd
