// Choosing the views and folders of a several-views export from its include and exclude lists.
#pragma once

#include <string>
#include <vector>

namespace exporter {

inline constexpr const char *kAllNonExcluded = "%All non excluded view/folders%";
inline constexpr const char *kExcludeAllHidden = "%Exclude all hidden view/folders%";

class ViewNameFilter {
public:
    ViewNameFilter(std::vector<std::string> includes, std::vector<std::string> excludes);

    // An entry matches a name when it equals it, or, when the entry's first "*" stands after its first
    // character, when the name begins with everything before that "*". A "*" in the first position is
    // compared literally. Case-sensitive.
    static bool EntryMatches(const std::string &entry, const std::string &name);

    // Whether a view or folder of this name is taken: an include entry matches it, or, when the first
    // include entry is the everything-not-excluded marker, no exclude entry matches it (the hidden
    // marker among the excludes stands for the pattern "(*").
    bool Takes(const std::string &name) const;

    // The names taken, in the order given (ascending design-note IDs).
    std::vector<std::string> Select(const std::vector<std::string> &names) const;

private:
    std::vector<std::string> m_includes;
    std::vector<std::string> m_excludes;
    bool m_allNonExcluded;
};

}  // namespace exporter
