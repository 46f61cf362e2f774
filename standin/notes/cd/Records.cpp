// The record walk and the record writer.
#include "Records.h"

namespace standin::cd {

namespace nc = notes::cd;

BYTE Byte(std::string_view bytes, std::size_t offset) {
    return offset < bytes.size() ? static_cast<BYTE>(bytes[offset]) : 0;
}

WORD Word(std::string_view bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2) {
        return 0;
    }
    return static_cast<WORD>(Byte(bytes, offset) | (Byte(bytes, offset + 1) << 8));
}

DWORD Dword(std::string_view bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) {
        return 0;
    }
    return static_cast<DWORD>(Word(bytes, offset)) | (static_cast<DWORD>(Word(bytes, offset + 2)) << 16);
}

WalkEnd WalkRecords(std::string_view records, const std::function<bool(const Record &)> &visit) {
    std::size_t at = 0;
    while (at < records.size()) {
        std::size_t left = records.size() - at;
        if (left < nc::kBsigSize) {
            return WalkEnd::Truncated;
        }
        BYTE sig = Byte(records, at);
        BYTE mark = Byte(records, at + 1);
        Record r;
        r.offset = at;
        std::size_t header = nc::kBsigSize;
        if (mark == nc::kWordRecordMark) {
            header = nc::kWsigSize;
            if (left < header) {
                return WalkEnd::Truncated;
            }
            r.signature = static_cast<WORD>(nc::kWordSignatureBits | sig);
            r.length = Word(records, at + 2);
        } else if (mark == nc::kLongRecordMark) {
            header = nc::kLsigSize;
            if (left < header) {
                return WalkEnd::Truncated;
            }
            r.signature = sig;
            r.length = Dword(records, at + 2);
        } else {
            r.signature = sig;
            r.length = mark;
        }
        if (r.length < header) {
            return WalkEnd::Damaged;
        }
        if (r.length > left) {
            return WalkEnd::Truncated;
        }
        if (!visit(r)) {
            return WalkEnd::Stopped;
        }
        at += r.length;
        if ((r.length & 1) != 0 && at < records.size()) {
            ++at;
        }
    }
    return WalkEnd::Complete;
}

bool IsLongRecord(WORD signature) {
    switch (signature) {
        case nc::kSigBitmapHeader:
        case nc::kSigBitmapSegment:
        case nc::kSigColorTable:
        case nc::kSigPatternTable:
        case nc::kSigGraphic:
        case nc::kSigTransparentTable:
        case nc::kSigImageHeader:
        case nc::kSigImageSegment:
            return true;
        default:
            return false;
    }
}

void RecordWriter::Begin(WORD signature) {
    m_start = m_out.size();
    PutByte(static_cast<BYTE>(signature & 0xFF));
    if ((signature & nc::kWordSignatureBits) == nc::kWordSignatureBits) {
        m_kind = 1;
        PutByte(nc::kWordRecordMark);
        PutWord(0);
    } else if (IsLongRecord(signature)) {
        m_kind = 2;
        PutByte(nc::kLongRecordMark);
        PutDword(0);
    } else {
        m_kind = 0;
        PutByte(0);
    }
}

void RecordWriter::End() {
    std::size_t length = m_out.size() - m_start;
    if (m_kind == 1) {
        SetWord(2, static_cast<WORD>(length));
    } else if (m_kind == 2) {
        SetWord(2, static_cast<WORD>(length & 0xFFFF));
        SetWord(4, static_cast<WORD>(length >> 16));
    } else {
        m_out[m_start + 1] = static_cast<char>(length);
    }
    if ((length & 1) != 0) {
        PutByte(0);
    }
}

void RecordWriter::PutWord(WORD v) {
    PutByte(static_cast<BYTE>(v & 0xFF));
    PutByte(static_cast<BYTE>(v >> 8));
}

void RecordWriter::PutDword(DWORD v) {
    PutWord(static_cast<WORD>(v & 0xFFFF));
    PutWord(static_cast<WORD>(v >> 16));
}

void RecordWriter::SetWord(std::size_t offsetInRecord, WORD v) {
    std::size_t at = m_start + offsetInRecord;
    m_out[at] = static_cast<char>(v & 0xFF);
    m_out[at + 1] = static_cast<char>(v >> 8);
}

}  // namespace standin::cd
