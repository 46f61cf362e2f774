// Ordered find/replace pairs applied to output values.
#include "config/ReplaceControl.h"

namespace config {

void ReplaceControl::Add(std::string find, std::string replace) {
    m_pairs.emplace_back(std::move(find), std::move(replace));
}

std::string ReplaceControl::Apply(const std::string &text) const {
    std::string result = text;
    for (const auto &[find, replace] : m_pairs) {
        if (find.empty()) {
            continue;
        }
        std::string next;
        std::size_t start = 0;
        for (std::size_t at = result.find(find); at != std::string::npos; at = result.find(find, start)) {
            next.append(result, start, at - start);
            next += replace;
            start = at + find.size();
        }
        next.append(result, start, std::string::npos);
        result = std::move(next);
    }
    return result;
}

}  // namespace config
