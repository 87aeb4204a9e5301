#pragma once

// Which columns of a logger's or weather station's export hold what: the
// wind speed and its unit, a histogram's hours or counts, the timestamps;
// and the fields of its lines. For the reader of wind series.

#include "result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tivora::performance {

struct SpeedUnit {
    const char* name;  // "m/s", "km/h", "mph", "knots"
    double toMps;
};

struct SeriesColumns {
    std::size_t speed = 0;
    SpeedUnit unit{"m/s", 1};
    std::string name;                   // the speed column's header, as written
    std::optional<std::size_t> weight;  // a histogram's hours, counts or shares
    bool hours = false;
    std::vector<std::size_t> time;  // a timestamp, or a date and a time to join
};

// From the header's cells (each column's header lines joined): the one
// column whose header names a wind speed unit and is not a maximum, minimum,
// gust or deviation (where several are, the one that says mean or average).
// `line` is the header's, for the message.
Result<SeriesColumns> seriesColumns(const std::vector<std::string>& header, int line);

// The separator a line's fields are parted by: a tab, a semicolon or a
// comma, in that order; 0 for a line of one field.
char separatorOf(std::string_view line);

// The fields of a line, into `fields` (views into the line): quotes taken
// off (a doubled quote inside is kept as written) and blanks around them; a
// line of one field when there is no separator. Filled, not made, so that a
// year of records reuses one vector.
void fieldsOf(std::string_view line, char separator, std::vector<std::string_view>& fields);

// A figure with a full stop, or with a comma where there is no full stop
// (a comma inside one field cannot part fields): "5,2" is 5.2, "1,200.5" no
// number. Only finite figures: "NaN" is a logger's code, no number.
bool figureOf(std::string_view field, double& value);

Problem notAWindSeries(int line, const std::string& what);
inline constexpr const char* kExpectedSpeedHeader =
    "expected a header naming the wind speed column and its unit (m/s, km/h, mph or knots)";

}  // namespace tivora::performance
