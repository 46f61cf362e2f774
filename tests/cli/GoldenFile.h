// Golden files of the end-to-end tests under tests/cli/golden: comparison, and the run's time taken out
// of a log.
#pragma once

#include <string>

namespace clitest {

// Expects actual to equal tests/cli/golden/<goldenName>; with VORLIX_UPDATE_GOLDEN=1 in the
// environment the reference is written from actual instead (only on purpose, after checking the
// difference).
void ExpectGolden(const std::string &actual, const std::string &goldenName);

// The log's "Begin export at" lines carry the time of the run; golden files hold hh:mm:ss instead.
std::string WithoutRunTimes(const std::string &log);

}  // namespace clitest
