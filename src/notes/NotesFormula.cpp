// A Notes formula compiled from its text and evaluated on notes, with its result as text.
#include "NotesFormula.h"

#include "NotesApi.h"
#include "NotesWrapperSupport.h"

namespace notes {

namespace {

const char kComputeStartFailed[] = "Unable to compute start.";
const char kEvaluateFailed[] = "Unable to evaluate formula:";
const char kUnknownType[] = "<unknown formula result type>";
const char kUnsupportedType[] = "<unsupported formula result type>";
constexpr WORD kTimeTextSize = 80;
constexpr WORD kNumberTextSize = 40;
constexpr std::size_t kTimeDateSize = 8;
constexpr std::size_t kNumberSize = 8;

// A TIMEDATE as text with the default formats; false when Notes cannot convert it.
bool TimeText(const char *data, std::size_t offset, std::string &text) {
    const NotesApiTable &fn = Api().fn;
    if (fn.ConvertTIMEDATEToText == nullptr) {
        return false;
    }
    TIMEDATE time{};
    time.Innards[0] = wrapper::ReadDword(data, offset);
    time.Innards[1] = wrapper::ReadDword(data, offset + 4);
    char buffer[kTimeTextSize + 1] = {};
    WORD length = 0;
    if (fn.ConvertTIMEDATEToText(nullptr, nullptr, &time, buffer, kTimeTextSize, &length) != 0) {
        return false;
    }
    text = wrapper::FromLmbcs(buffer, length > kTimeTextSize ? kTimeTextSize : length);
    return true;
}

// A NUMBER as text with the default formats; false when Notes cannot convert it.
bool NumberText(const char *data, std::size_t offset, std::string &text) {
    const NotesApiTable &fn = Api().fn;
    if (fn.ConvertFLOATToText == nullptr) {
        return false;
    }
    NUMBER number = wrapper::ReadDouble(data, offset);
    char buffer[kNumberTextSize + 1] = {};
    WORD length = 0;
    if (fn.ConvertFLOATToText(nullptr, nullptr, &number, buffer, kNumberTextSize, &length) != 0) {
        return false;
    }
    text = wrapper::FromLmbcs(buffer, length > kNumberTextSize ? kNumberTextSize : length);
    return true;
}

void Join(std::string &out, const std::string &entry, const std::string &separator, bool &first) {
    if (!first) {
        out += separator;
    }
    out += entry;
    first = false;
}

// The list entries of a number or time list (RANGE header, then the entries), each converted.
std::string RangeText(const char *data, std::size_t size, std::size_t entrySize, const std::string &separator,
                      bool (*convert)(const char *, std::size_t, std::string &)) {
    if (size < 6) {
        return std::string();
    }
    const std::size_t entries = wrapper::ReadWord(data, 2);
    std::string out;
    bool first = true;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t offset = 6 + i * entrySize;
        if (offset + entrySize > size) {
            break;
        }
        std::string entry;
        if (convert(data, offset, entry)) {
            Join(out, entry, separator, first);
        }
    }
    return out;
}

std::string TextListText(const char *data, std::size_t size, const std::string &separator) {
    if (size < 4) {
        return std::string();
    }
    const std::size_t entries = wrapper::ReadWord(data, 2);
    std::size_t textOffset = 4 + entries * 2;
    if (textOffset > size) {
        return std::string();
    }
    std::string out;
    bool first = true;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t length = wrapper::ReadWord(data, 4 + i * 2);
        if (textOffset + length > size) {
            break;
        }
        Join(out, wrapper::FromLmbcs(data + textOffset, length, true), separator, first);
        textOffset += length;
    }
    return out;
}

}  // namespace

NotesFormula::NotesFormula(std::string text, std::string name)
    : m_name(std::move(name)), m_text(std::move(text)) {}

NotesFormula::NotesFormula(const char *compiled, WORD length) {
    if (compiled != nullptr) {
        m_bytes.assign(compiled, compiled + length);
    }
    m_compiled = true;
}

bool NotesFormula::Compile(FORMULAHANDLE *handle) {
    if (handle != nullptr) {
        *handle = kNullHandle;
    }
    m_errorLine = m_errorColumn = m_errorOffset = m_errorLength = 0;
    m_lastError.clear();
    const NotesApiTable &fn = Api().fn;
    if (fn.NSFFormulaCompile == nullptr || fn.OSLockObject == nullptr || fn.OSMemFree == nullptr) {
        m_compileStatus = wrapper::kMissingEntryPoint;
        m_lastError = wrapper::NotesMessage(m_compileStatus);
        return false;
    }
    const std::string lmbcs = wrapper::ToLmbcs(m_text);
    if (lmbcs.size() > 0xFFFF) {
        m_compileStatus = wrapper::kMissingEntryPoint;
        m_lastError = "Formula is too long";
        return false;
    }
    FORMULAHANDLE formula = kNullHandle;
    WORD length = 0;
    STATUS compileError = 0;
    m_compileStatus =
        fn.NSFFormulaCompile(nullptr, 0, lmbcs.data(), static_cast<WORD>(lmbcs.size()), &formula, &length,
                             &compileError, &m_errorLine, &m_errorColumn, &m_errorOffset, &m_errorLength);
    if (m_compileStatus != 0) {
        if (formula != kNullHandle) {
            fn.OSMemFree(formula);
        }
        m_compiled = false;
        m_lastError = wrapper::NotesMessage(compileError != 0 ? compileError : m_compileStatus);
        return false;
    }
    const char *bytes = static_cast<const char *>(fn.OSLockObject(formula));
    if (bytes == nullptr) {
        fn.OSMemFree(formula);
        m_compiled = false;
        m_compileStatus = wrapper::kMissingEntryPoint;
        m_lastError = wrapper::NotesMessage(m_compileStatus);
        return false;
    }
    m_bytes.assign(bytes, bytes + length);
    fn.OSUnlockObject(formula);
    m_compiled = true;
    if (handle != nullptr) {
        *handle = formula;
        return true;
    }
    fn.OSMemFree(formula);
    return true;
}

std::string NotesFormula::Evaluate(NOTEHANDLE note, const std::string &separator) {
    const NotesApiTable &fn = Api().fn;
    HCOMPUTE compute = nullptr;
    const bool canStart = m_compiled && !m_bytes.empty() && fn.NSFComputeStart != nullptr &&
                          fn.NSFComputeEvaluate != nullptr && fn.NSFComputeStop != nullptr;
    if (!canStart || fn.NSFComputeStart(0, m_bytes.data(), &compute) != 0) {
        m_lastError = kComputeStartFailed;
        return std::string();
    }
    DHANDLE result = kNullHandle;
    WORD length = 0;
    BOOL matches = 0;
    BOOL shouldDelete = 0;
    BOOL modified = 0;
    if (fn.NSFComputeEvaluate(compute, note, &result, &length, &matches, &shouldDelete, &modified) != 0) {
        if (result != kNullHandle) {
            fn.OSMemFree(result);
        }
        fn.NSFComputeStop(compute);
        m_lastError = kEvaluateFailed + m_text;
        return std::string();
    }
    std::string text;
    if (result != kNullHandle) {
        const char *data = static_cast<const char *>(fn.OSLockObject(result));
        if (data != nullptr) {
            text = ResultText(data, length, separator);
            fn.OSUnlockObject(result);
        }
        fn.OSMemFree(result);
    }
    fn.NSFComputeStop(compute);
    return text;
}

std::string NotesFormula::ResultText(const char *data, std::size_t size, const std::string &separator) {
    const WORD type = size >= 2 ? wrapper::ReadWord(data, 0) : 0;
    std::string text;
    switch (type) {
        case kTypeTime:
            if (size >= 2 + kTimeDateSize) {
                TimeText(data, 2, text);
            }
            return text;
        case kTypeNumber:
            if (size >= 2 + kNumberSize) {
                NumberText(data, 2, text);
            }
            return text;
        case kTypeNumberRange:
            return RangeText(data, size, kNumberSize, separator, NumberText);
        case kTypeTimeRange:
            return RangeText(data, size, kTimeDateSize, separator, TimeText);
        case kTypeText:
            return wrapper::FromLmbcs(data + 2, size - 2, true);
        case kTypeTextList:
            return TextListText(data, size, separator);
        case 0:
            return kUnknownType;
        default:
            return kUnsupportedType;
    }
}

}  // namespace notes
