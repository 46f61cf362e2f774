// An ordered table of find/replace pairs applied to output values (the carriage-return and line-feed
// options).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace config {

class ReplaceControl {
public:
    // The find text must not be empty (the caller checks).
    void Add(std::string find, std::string replace);
    bool Empty() const { return m_pairs.empty(); }
    const std::vector<std::pair<std::string, std::string>> &Pairs() const { return m_pairs; }
    // Applies every pair in order, each replacing all occurrences of its find text.
    std::string Apply(const std::string &text) const;

private:
    std::vector<std::pair<std::string, std::string>> m_pairs;
};

}  // namespace config
