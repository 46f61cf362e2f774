// Writing and checked reading of compiled formula bytes.
#include "CompiledForm.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "FunctionSignature.h"

namespace formula {

namespace {

constexpr char kMagic[] = {'V', 'X', 'F', '1'};
constexpr std::size_t kHeaderSize = sizeof(kMagic) + 2;
constexpr int kMaxReadDepth = 300;
constexpr std::size_t kMaxNodes = 70000;

void PutWord(std::string &out, std::size_t w) {
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>((w >> 8) & 0xFF);
}

void Put8(std::string &out, const void *data) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, 8);
    for (int i = 0; i < 8; ++i) {
        out += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
}

void WriteNode(std::string &out, const Node &node) {
    out += static_cast<char>(node.kind);
    out += static_cast<char>(node.op);
    PutWord(out, node.text.size());
    out += node.text;
    if (node.kind == NodeKind::Number) {
        Put8(out, &node.number);
    } else if (node.kind == NodeKind::Time) {
        std::uint64_t bits = static_cast<std::uint64_t>(node.time.Innards[0]) |
                             (static_cast<std::uint64_t>(node.time.Innards[1]) << 32);
        Put8(out, &bits);
    }
    PutWord(out, node.children.size());
    for (const auto &child : node.children) {
        WriteNode(out, *child);
    }
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    std::unique_ptr<Node> ReadNode(int depth) {
        if (depth > kMaxReadDepth || ++m_nodes > kMaxNodes) {
            return nullptr;
        }
        unsigned char kind = 0;
        unsigned char op = 0;
        WORD textLength = 0;
        if (!Byte(kind) || !Byte(op) || !Word(textLength) || kind == 0 || kind > kLastNodeKind ||
            m_pos + textLength > m_bytes.size()) {
            return nullptr;
        }
        auto node = std::make_unique<Node>();
        node->kind = static_cast<NodeKind>(kind);
        node->op = op;
        node->text = std::string(m_bytes.substr(m_pos, textLength));
        m_pos += textLength;
        if (node->kind == NodeKind::Number || node->kind == NodeKind::Time) {
            std::uint64_t bits = 0;
            if (!Eight(bits)) {
                return nullptr;
            }
            if (node->kind == NodeKind::Number) {
                std::memcpy(&node->number, &bits, 8);
            } else {
                node->time.Innards[0] = static_cast<DWORD>(bits & 0xFFFFFFFF);
                node->time.Innards[1] = static_cast<DWORD>(bits >> 32);
            }
        }
        WORD count = 0;
        if (!Word(count) || !CountFits(*node, count)) {
            return nullptr;
        }
        for (WORD i = 0; i < count; ++i) {
            std::unique_ptr<Node> child = ReadNode(depth + 1);
            if (!child) {
                return nullptr;
            }
            node->height = std::max<WORD>(node->height, static_cast<WORD>(child->height + 1));
            node->children.push_back(std::move(child));
        }
        return node;
    }

    bool AtEnd() const { return m_pos == m_bytes.size(); }

private:
    bool Byte(unsigned char &out) {
        if (m_pos >= m_bytes.size()) {
            return false;
        }
        out = static_cast<unsigned char>(m_bytes[m_pos++]);
        return true;
    }
    bool Word(WORD &out) {
        unsigned char low = 0;
        unsigned char high = 0;
        if (!Byte(low) || !Byte(high)) {
            return false;
        }
        out = static_cast<WORD>(low | (high << 8));
        return true;
    }
    bool Eight(std::uint64_t &out) {
        if (m_pos + 8 > m_bytes.size()) {
            return false;
        }
        out = 0;
        for (int i = 7; i >= 0; --i) {
            out = (out << 8) | static_cast<unsigned char>(m_bytes[m_pos + static_cast<std::size_t>(i)]);
        }
        m_pos += 8;
        return true;
    }
    // Checks the shape of a node and resolves its function.
    static bool CountFits(Node &node, WORD count) {
        switch (node.kind) {
            case NodeKind::Sequence:
                return true;
            case NodeKind::Text:
            case NodeKind::Number:
            case NodeKind::Time:
            case NodeKind::Keyword:
            case NodeKind::Name:
            case NodeKind::Rem:
                return count == 0;
            case NodeKind::Unary:
                return count == 1 && (node.op == kOpNegate || node.op == kOpPlus || node.op == kOpNot);
            case NodeKind::Binary: {
                unsigned char base = node.op & ~kPermuted;
                return count == 2 && base >= kOpList && base <= kOpLast && base != kOpNegate &&
                       base != kOpPlus && base != kOpNot;
            }
            case NodeKind::Call:
                node.function = FindFunction(node.text);
                return node.function != nullptr && count >= node.function->minArgs &&
                       count <= node.function->maxArgs;
            case NodeKind::AssignTemp:
            case NodeKind::AssignField:
            case NodeKind::AssignDefault:
            case NodeKind::Select:
                return count == 1;
        }
        return false;
    }

    std::string_view m_bytes;
    std::size_t m_pos = 0;
    std::size_t m_nodes = 0;
};

}  // namespace

std::string CompiledForm::Write(const Node &root) {
    std::string out(kMagic, sizeof(kMagic));
    PutWord(out, 0);
    WriteNode(out, root);
    // The total length (saturated: a longer form is refused by the compiler and by Read).
    std::size_t length = std::min<std::size_t>(out.size(), 0xFFFF);
    out[sizeof(kMagic)] = static_cast<char>(length & 0xFF);
    out[sizeof(kMagic) + 1] = static_cast<char>(length >> 8);
    return out;
}

std::size_t CompiledForm::DeclaredLength(const char *bytes) {
    if (bytes == nullptr || std::memcmp(bytes, kMagic, sizeof(kMagic)) != 0) {
        return 0;
    }
    return static_cast<unsigned char>(bytes[sizeof(kMagic)]) |
           (static_cast<std::size_t>(static_cast<unsigned char>(bytes[sizeof(kMagic) + 1])) << 8);
}

std::unique_ptr<Node> CompiledForm::Read(std::string_view bytes) {
    if (bytes.size() < kHeaderSize || DeclaredLength(bytes.data()) != bytes.size()) {
        return nullptr;
    }
    Reader reader(bytes.substr(kHeaderSize));
    std::unique_ptr<Node> root = reader.ReadNode(0);
    if (!root || !reader.AtEnd() || root->kind != NodeKind::Sequence) {
        return nullptr;
    }
    return root;
}

}  // namespace formula
