#pragma once

// The timestamps of a logger's records: read, and the span they cover.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tivora::performance {

// Seconds from 1970-01-01 00:00 of a timestamp written as YYYY-MM-DD,
// YYYY/MM/DD or DD.MM.YYYY, then optionally hh:mm[:ss[.fff]] after a blank
// or a T (a trailing Z or offset is passed over: a logger writes one zone
// throughout). None when it is not one; the American MM/DD/YYYY, which
// cannot be told from DD/MM/YYYY, is not one.
std::optional<double> timestampSeconds(std::string_view text);

// The span of a series of records.
struct Period {
    std::string first, last;  // the earliest and latest timestamps, as written
    int firstLine = 0, lastLine = 0;
    double days = 0;         // from the first to the last, and one step more
    double stepSeconds = 0;  // the most common step between records
    long missingSteps = 0;   // records the steps say are missing
};

// The records' timestamps (seconds, and the line each is on) in the file's
// order, which may be newest first; the texts are the caller's to fill. None
// for fewer than two distinct ones.
std::optional<Period> periodOf(const std::vector<std::pair<double, int>>& stamps);

}  // namespace tivora::performance
