// Include and exclude patterns of a several-views export.
#include "ViewNameFilter.h"

#include <algorithm>
#include <utility>

namespace exporter {

ViewNameFilter::ViewNameFilter(std::vector<std::string> includes, std::vector<std::string> excludes)
    : m_includes(std::move(includes)), m_excludes(std::move(excludes)) {
    m_allNonExcluded = !m_includes.empty() && m_includes.front() == kAllNonExcluded;
    for (auto &entry : m_excludes) {
        if (entry == kExcludeAllHidden) {
            entry = "(*";
        }
    }
}

bool ViewNameFilter::EntryMatches(const std::string &entry, const std::string &name) {
    if (entry == name) {
        return true;
    }
    const auto star = entry.find('*');
    if (star == std::string::npos || star == 0) {
        return false;
    }
    return name.size() >= star && name.compare(0, star, entry, 0, star) == 0;
}

bool ViewNameFilter::Takes(const std::string &name) const {
    const auto matches = [&name](const std::string &entry) { return EntryMatches(entry, name); };
    if (std::any_of(m_includes.begin(), m_includes.end(), matches)) {
        return true;
    }
    if (!m_allNonExcluded) {
        return false;
    }
    return std::none_of(m_excludes.begin(), m_excludes.end(), matches);
}

std::vector<std::string> ViewNameFilter::Select(const std::vector<std::string> &names) const {
    std::vector<std::string> taken;
    for (const auto &name : names) {
        if (Takes(name)) {
            taken.push_back(name);
        }
    }
    return taken;
}

}  // namespace exporter
