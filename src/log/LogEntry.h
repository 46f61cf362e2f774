// A message record shown to the user outside an export (title, severity, detail), with child entries.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace logging {

constexpr std::int32_t kSeverityNone = 0;
constexpr std::int32_t kSeverityWarning = 2;
constexpr std::int32_t kSeverityError = 3;

struct LogEntry {
    std::int32_t kind = 0;  // as given by the creator; carried, not shown
    std::string title;
    std::int32_t severity = kSeverityNone;
    std::string detail;
    std::chrono::system_clock::time_point created = std::chrono::system_clock::now();
    std::vector<std::unique_ptr<LogEntry>> children;
};

}  // namespace logging
