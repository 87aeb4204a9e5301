#pragma once

// The wind measured at the user's own site: a logger's or a weather
// station's export, read whole into the distribution of its speeds.
//
// Two forms are read. A series: one record a line, a column of wind speeds
// with or without timestamps. A histogram: bin centres and the hours (or
// counts, or shares) in each. Either way a header before the numbers names
// the speed column and its unit (m/s, km/h, mph or knots); fields are
// parted by commas, semicolons or tabs; UTF-8 with or without a byte-order
// mark, CRLF or LF.
//
// What a logger writes besides wind is counted and left out, never kept and
// never dropped without a word: an empty cell (a gap), a cell that is no
// number (a logger's error code: "NaN", "ERR", "---"), a number no wind near
// the ground has (below 0 or above kHighestWindMps: codes such as -999 or
// 9999), and records the timestamps say are missing. Calms (0) are kept and
// counted. A file whose layout is wrong (no header, no unit, a line with too
// few fields, a histogram whose bins go back) is refused whole, with the line.

#include "result.h"
#include "timestamps.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tivora::performance {

// Above this a speed is taken for a logger's error code: no ten-minute mean
// near the ground comes near it (270 km/h).
inline constexpr double kHighestWindMps = 75;

struct WeightedSpeed {
    double windMps;
    double weight;  // records, or a bin's hours or count
};

enum class SeriesForm { Records, Histogram };

// Cells the reader left out, and where the first of them is.
struct LeftOut {
    long count = 0;
    int firstLine = 0;  // 0: none
    std::string firstText;
    void add(int line, std::string_view text);
};

struct WindSeries {
    SeriesForm form = SeriesForm::Records;
    std::string column;  // the speed column's header, as written
    std::string unit;    // "m/s", "km/h", "mph" or "knots"
    bool hours = false;  // a histogram's weights are hours
    // Every speed kept (calms at 0 included), in m/s, rising, each once with
    // the weight of all its records.
    std::vector<WeightedSpeed> speeds;
    std::vector<double> weightUpTo;  // of speeds[0] to speeds[i]
    double totalWeight = 0;
    double calmWeight = 0;
    long lines = 0;  // records (or bins) read, whatever became of them
    LeftOut gaps;    // empty cells
    LeftOut codes;   // cells that are no number
    LeftOut outOfRange;
    std::optional<Period> period;  // from every record's timestamp, or a histogram's hours
    LeftOut unreadTimes;           // timestamps that do not read; the period is then not known

    // The most common step between the speeds above calm: a logger's
    // resolution (0.1 km/h is 0.0278 m/s), or a histogram's bin width.
    double stepMps = 0;

    double calmShare() const { return totalWeight > 0 ? calmWeight / totalWeight : 0; }
    double meanMps() const;  // of every speed kept, calms included
    // The share of the weight below v. Each speed above calm stands for the
    // step around it, its weight spread evenly over it: a speed a logger
    // rounded is somewhere in its last digit's step, a histogram's hours
    // anywhere in their bin; so 0.5 m/s bins of a 0.1 km/h logger's speeds
    // each get what falls in them, not 17 or 18 of its steps by turns.
    // Every calm counts below any v above 0.
    double cumulative(double windMps) const;
};

Result<WindSeries> readWindSeries(std::string_view text);

}  // namespace tivora::performance
