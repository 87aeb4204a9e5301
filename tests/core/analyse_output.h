#pragma once

// `tivora --analyse` run in the test's process, and its CSV read back into
// sections of rows, as a script would read it.

#include "performance/analyse_command.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tivora::testing {

struct Outcome {
    int status;
    std::string out, err;
};

inline Outcome analyseCommand(const std::vector<std::string>& arguments)
{
    std::ostringstream out, err;
    const int status = performance::runAnalyseCommand(arguments, out, err);
    return {status, out.str(), err.str()};
}

using Rows = std::vector<std::vector<std::string>>;

// Each "# Title" section's rows, its header row first.
inline std::map<std::string, Rows> sectionsOf(const std::string& csv)
{
    std::map<std::string, Rows> sections;
    std::istringstream lines(csv);
    std::string line, title;
    while (std::getline(lines, line)) {
        if (line.starts_with("# ")) {
            title = line.substr(2);
            continue;
        }
        if (line.empty())
            continue;
        std::vector<std::string> cells;
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, ',');)
            cells.push_back(cell);
        sections[title].push_back(cells);
    }
    return sections;
}

// The section whose title starts so.
inline const Rows& section(const std::map<std::string, Rows>& sections, const std::string& start)
{
    static const Rows none;
    for (const auto& [title, rows] : sections) {
        if (title.starts_with(start))
            return rows;
    }
    return none;
}

}  // namespace tivora::testing
