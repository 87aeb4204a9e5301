#include "coordinates_file.h"

#include "performance/file_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace tivora::workshop {

namespace {

struct Coordinate {
    Point at;
    int line;
};

using Failure = CoordinatesProblem;

std::string figure(double value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, std::round(value * 1e4) / 1e4);
    return error == std::errc() ? std::string(text, end) : std::string("?");
}

// The numbers of a line, separated by blanks, tabs or commas; none when a
// field is no finite number.
std::optional<std::vector<double>> numbersIn(std::string_view line)
{
    std::vector<double> numbers;
    std::size_t i = 0;
    const auto separator = [](char c) { return c == ' ' || c == '\t' || c == ','; };
    while (i < line.size()) {
        while (i < line.size() && separator(line[i]))
            ++i;
        if (i == line.size())
            break;
        std::size_t end = i;
        while (end < line.size() && !separator(line[end]))
            ++end;
        std::string_view field = line.substr(i, end - i);
        if (field.size() > 1 && field.front() == '+')
            field.remove_prefix(1);
        double value = 0;
        const auto [stop, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (error != std::errc() || stop != field.data() + field.size() || !std::isfinite(value))
            return std::nullopt;
        numbers.push_back(value);
        i = end;
    }
    return numbers;
}

bool whole(double value)
{
    return value >= 2 && value <= static_cast<double>(kMostCoordinates) && value == std::floor(value);
}

double distance(Point a, Point b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Whether segments ab and cd cross or touch.
bool segmentsMeet(Point a, Point b, Point c, Point d)
{
    const auto side = [](Point p, Point q, Point r) { return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x); };
    const double d1 = side(c, d, a), d2 = side(c, d, b), d3 = side(a, b, c), d4 = side(a, b, d);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// The outline in Selig's order, its lines kept, or why the text is none.
std::variant<std::vector<Coordinate>, Failure> seligOrder(std::string_view text, std::string& name)
{
    struct Row {
        Point at;
        int line;
        bool afterBlank;
    };
    std::vector<Row> rows;
    int number = 0;
    bool blank = false;
    bool named = false;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.find('\0') != std::string_view::npos)
            return Failure{number, "a zero byte: this is no text file"};
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) {
            blank = true;
            continue;
        }
        const auto numbers = numbersIn(line);
        if (rows.empty() && !named && (!numbers || numbers->size() != 2)) {
            name = std::string(line.substr(line.find_first_not_of(" \t"), 80));
            named = true;
            continue;
        }
        if (!numbers || numbers->size() != 2)
            return Failure{number, "expected two numbers, x and y"};
        // Beyond this no coordinate is of a section (a chord in millimetres
        // is a few hundred), and the arithmetic would leave the doubles.
        if (std::abs((*numbers)[0]) > 1e6 || std::abs((*numbers)[1]) > 1e6)
            return Failure{number, "a figure beyond a million: no section's coordinate"};
        if (rows.size() > kMostCoordinates)
            return Failure{number, "more than " + std::to_string(kMostCoordinates) + " points: no section has so many"};
        rows.push_back({{(*numbers)[0], (*numbers)[1]}, number, blank});
        blank = false;
    }
    if (rows.empty())
        return Failure{0, "no coordinates in it"};

    std::vector<Coordinate> outline;
    if (whole(rows[0].at.x) && whole(rows[0].at.y)) {
        // Lednicer's: the counts, then each surface from the leading edge.
        const auto upper = static_cast<std::size_t>(rows[0].at.x);
        const auto lower = static_cast<std::size_t>(rows[0].at.y);
        if (rows.size() - 1 != upper + lower)
            return Failure{rows[0].line, "says " + std::to_string(upper) + " and " + std::to_string(lower) +
                                             " points for the two surfaces, but " + std::to_string(rows.size() - 1) +
                                             " follow"};
        if (!rows[1 + upper].afterBlank)
            return Failure{rows[1 + upper].line, "expected a blank line before the lower surface"};
        if (distance(rows[1].at, rows[1 + upper].at) > 0.01 * std::max(std::abs(rows[upper].at.x - rows[1].at.x), 1e-9))
            return Failure{rows[1 + upper].line, "the lower surface starts elsewhere than the upper one: the "
                                                 "outline is open at the leading edge"};
        for (std::size_t i = upper; i >= 1; --i)
            outline.push_back({rows[i].at, rows[i].line});
        for (std::size_t i = upper + 2; i < rows.size(); ++i)
            outline.push_back({rows[i].at, rows[i].line});
    } else {
        for (const Row& row : rows)
            outline.push_back({row.at, row.line});
    }
    if (outline.size() < 5)
        return Failure{outline.back().line, "too few points for a section (at least five)"};
    return outline;
}

}  // namespace

std::variant<Profile, CoordinatesProblem> readCoordinates(std::string_view text)
{
    std::string name;
    auto read = seligOrder(text, name);
    if (auto* failure = std::get_if<Failure>(&read))
        return *failure;
    std::vector<Coordinate> points = std::move(std::get<std::vector<Coordinate>>(read));

    double low = points[0].at.x, high = low;
    for (const Coordinate& c : points) {
        low = std::min(low, c.at.x);
        high = std::max(high, c.at.x);
    }
    const double span = high - low;
    if (!(span > 0))
        return Failure{points.back().line, "every point has the same x: no chord"};
    const bool falling = std::is_sorted(points.begin(), points.end(),
                                        [](const Coordinate& a, const Coordinate& b) { return a.at.x > b.at.x; });
    const bool rising = std::is_sorted(points.begin(), points.end(),
                                       [](const Coordinate& a, const Coordinate& b) { return a.at.x < b.at.x; });
    if (falling || rising)
        return Failure{points.back().line, "only one surface: the points never turn back at the leading edge"};
    if (points.front().at.x < high - 0.05 * span)
        return Failure{points.front().line, "expected the first point at the trailing edge (the largest x), found x " +
                                                figure(points.front().at.x)};
    const Point start = points.front().at, end = points.back().at;
    if (distance(start, end) > 0.05 * span)
        return Failure{points.back().line, "the outline is open: it ends at " + figure(end.x) + ", " + figure(end.y) +
                                               ", away from where it started"};

    // The leading edge is the point farthest from the trailing edge's middle.
    const Point trailing{(start.x + end.x) / 2, (start.y + end.y) / 2};
    std::size_t nose = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (distance(points[i].at, trailing) > distance(points[nose].at, trailing))
            nose = i;
    }
    const Point leading = points[nose].at;
    const double chord = distance(leading, trailing);
    const double cosA = (trailing.x - leading.x) / chord, sinA = (trailing.y - leading.y) / chord;
    for (Coordinate& c : points) {
        const double dx = c.at.x - leading.x, dy = c.at.y - leading.y;
        c.at = {(dx * cosA + dy * sinA) / chord, (-dx * sinA + dy * cosA) / chord};
    }
    // Round the leading edge from the trailing edge and back, never turning
    // by more than a little: near the nose of a strongly cambered section
    // the published construction (thickness laid off at right angles to the
    // mean line) itself steps back by up to a hundredth of the chord.
    constexpr double kSlack = 0.02;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const bool towardsNose = i <= nose;
        const double step = points[i].at.x - points[i - 1].at.x;
        if (towardsNose ? step > kSlack : step < -kSlack)
            return Failure{points[i].line, "x turns back here: the points must run from the trailing edge along one "
                                           "surface to the leading edge and along the other back"};
    }
    const std::size_t count = points.size();
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t j = i + 2; j < count; ++j) {
            if (i == 0 && j == count - 1)
                continue;  // the closing edge meets the first at its start
            const Point a = points[i].at, b = points[i + 1].at;
            const Point c = points[j].at, d = points[(j + 1) % count].at;
            if (segmentsMeet(a, b, c, d))
                return Failure{points[j + 1 < count ? j + 1 : j].line,
                               "the outline crosses itself here, between the points of lines " +
                                   std::to_string(points[i].line) + " and " + std::to_string(points[i + 1].line)};
        }
    }

    Profile profile;
    profile.name = name;
    for (std::size_t i = nose + 1; i-- > 0;)
        profile.upper.push_back(points[i].at);
    for (std::size_t i = nose; i < count; ++i)
        profile.lower.push_back(points[i].at);
    // Listed lower surface first: upper and lower change places.
    double twiceArea = 0;
    const std::vector<Point> outline = outlineOf(profile);
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point a = outline[i], b = outline[(i + 1) % outline.size()];
        twiceArea += a.x * b.y - b.x * a.y;
    }
    if (std::abs(twiceArea) < 1e-6)
        return Failure{points.back().line, "the outline encloses nothing"};
    if (twiceArea < 0)
        std::swap(profile.upper, profile.lower);
    return profile;
}

std::variant<Profile, CoordinatesProblem> readCoordinatesFile(const std::string& path)
{
    const auto text = performance::readTextFile(path, kLargestCoordinatesFile);
    if (!text)
        return Failure{0, text.problem().message};
    return readCoordinates(*text);
}

std::string describe(const CoordinatesProblem& problem)
{
    return problem.line > 0 ? "line " + std::to_string(problem.line) + ": " + problem.what : problem.what;
}

}  // namespace tivora::workshop
