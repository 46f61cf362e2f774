// A small RTF reader of the tests' own: checks that groups balance and gathers what the RTF filter
// must show (paragraph text, table cells and rows, pictures, link fields, bold text, fonts).
#pragma once

#include <cctype>
#include <string>
#include <vector>

namespace rtftest {

struct RtfDocument {
    bool balanced = false;
    std::vector<std::string> paragraphs;  // text of each paragraph or table cell, in order
    int cells = 0;
    int rows = 0;
    std::vector<std::string> pictures;  // the blip kind of each \pict ("pngblip", "jpegblip")
    std::vector<std::string> links;     // field instructions
    std::string boldText;               // all text written in bold
    std::vector<std::string> fonts;     // font table names
};

inline RtfDocument ReadRtf(const std::string &rtf) {
    struct State {
        bool bold = false;
        int skip = 0;  // 0 text, 1 skipped destination, 2 field instruction, 3 picture, 4 font table
    };
    RtfDocument doc;
    std::vector<State> stack;
    State st;
    std::string current;
    int depth = 0;
    bool ok = !rtf.empty() && rtf[0] == '{';
    auto text = [&](const std::string &t) {
        if (st.skip == 0) {
            current += t;
            if (st.bold) {
                doc.boldText += t;
            }
        } else if (st.skip == 2) {
            doc.links.back() += t;
        } else if (st.skip == 4) {
            doc.fonts.back() += t;
        }
    };
    for (std::size_t i = 0; i < rtf.size() && ok; ++i) {
        char c = rtf[i];
        if (c == '{') {
            stack.push_back(st);
            ++depth;
            if (st.skip == 4) {
                doc.fonts.emplace_back();
            }
        } else if (c == '}') {
            if (depth == 0) {
                ok = false;
                break;
            }
            st = stack.back();
            stack.pop_back();
            --depth;
            if (st.skip == 4 && !doc.fonts.empty() && !doc.fonts.back().empty() &&
                doc.fonts.back().back() == ';') {
                doc.fonts.back().pop_back();
            }
        } else if (c == '\\' && i + 1 < rtf.size()) {
            char n = rtf[i + 1];
            if (!std::isalpha(static_cast<unsigned char>(n))) {
                ++i;
                if (n == '*') {
                    st.skip = st.skip == 0 ? 1 : st.skip;
                } else if (n == '\\' || n == '{' || n == '}') {
                    text(std::string(1, n));
                }
                continue;
            }
            std::size_t j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) {
                ++j;
            }
            std::string word = rtf.substr(i + 1, j - i - 1);
            std::size_t k = j;
            if (k < rtf.size() && (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k])))) {
                ++k;
                while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[k]))) {
                    ++k;
                }
            }
            std::string arg = rtf.substr(j, k - j);
            i = (k < rtf.size() && rtf[k] == ' ') ? k : k - 1;
            if (word == "fonttbl") {
                st.skip = 4;
            } else if (word == "colortbl") {
                st.skip = 1;
            } else if (word == "fldinst") {
                st.skip = 2;
                doc.links.emplace_back();
            } else if (word == "pict") {
                st.skip = 3;
                doc.pictures.emplace_back();
            } else if (st.skip == 3 && (word == "pngblip" || word == "jpegblip" || word == "wbitmap")) {
                doc.pictures.back() = word;
            } else if (word == "b") {
                st.bold = arg != "0";
            } else if (word == "plain") {
                st.bold = false;
            } else if (word == "par" || word == "cell") {
                if (st.skip == 0) {
                    doc.paragraphs.push_back(current);
                    current.clear();
                    doc.cells += word == "cell" ? 1 : 0;
                }
            } else if (word == "row") {
                ++doc.rows;
            } else if (word == "line") {
                text("\n");
            } else if (word == "tab") {
                text("\t");
            } else if (word == "u") {
                long v = std::stol(arg);
                text(v < 0x80 && v >= 0 ? std::string(1, static_cast<char>(v)) : std::string("?"));
                if (i + 1 < rtf.size() && rtf[i + 1] == '?') {
                    ++i;
                }
            }
        } else if (c != '\r' && c != '\n') {
            text(std::string(1, c));
        }
    }
    doc.balanced = ok && depth == 0;
    return doc;
}

}  // namespace rtftest
