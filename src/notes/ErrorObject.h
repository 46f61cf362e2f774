// An error record kept in a list instead of being shown: a numeric code, a title and a detail text.
#pragma once

#include <string>
#include <vector>

namespace notes {

struct ErrorObject {
    int code = 0;
    std::string title;
    std::string detail;
};

// The list a caller hands to an operation so that its failures are recorded there, for the
// per-document error report, rather than shown.
using ErrorObjectArray = std::vector<ErrorObject>;

}  // namespace notes
