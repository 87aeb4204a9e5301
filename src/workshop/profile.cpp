#include "profile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace tivora::workshop {

namespace {

constexpr int kIntervals = 80;  // between the points of one surface

// Half the thickness at x for a section `t` thick (Abbott and von Doenhoff,
// eq. 6.2, the published coefficients).
double halfThickness(double x, double t)
{
    return t / 0.2 *
           (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x - 0.1015 * x * x * x * x);
}

struct MeanLine {
    double y, slope;
};

// Two parabolas meeting at the greatest camber m, at p of the chord.
MeanLine meanLine(double x, double m, double p)
{
    if (m == 0)
        return {0, 0};
    if (x <= p)
        return {m / (p * p) * (2 * p * x - x * x), 2 * m / (p * p) * (p - x)};
    const double q = (1 - p) * (1 - p);
    return {m / q * ((1 - 2 * p) + 2 * p * x - x * x), 2 * m / q * (p - x)};
}

}  // namespace

std::optional<NacaFourDigit> nacaFourDigitIn(std::string_view text)
{
    for (std::size_t at = 0; at + 4 <= text.size(); ++at) {
        const auto lower = [&](std::size_t i) { return std::tolower(static_cast<unsigned char>(text[at + i])); };
        if (lower(0) != 'n' || lower(1) != 'a' || lower(2) != 'c' || lower(3) != 'a')
            continue;
        std::size_t i = at + 4;
        while (i < text.size() && (text[i] == ' ' || text[i] == '-'))
            ++i;
        std::size_t digits = 0;
        while (i + digits < text.size() && std::isdigit(static_cast<unsigned char>(text[i + digits])))
            ++digits;
        if (digits != 4)
            continue;
        const auto digit = [&](std::size_t k) { return text[i + k] - '0'; };
        const NacaFourDigit section{digit(0), digit(1), digit(2) * 10 + digit(3)};
        // No thickness, or camber with nowhere to put it, is no section.
        if (section.thickness == 0 || (section.camber > 0 && section.position == 0))
            continue;
        return section;
    }
    return std::nullopt;
}

std::string nameOf(const NacaFourDigit& section)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d%d%02d", section.camber % 10, section.position % 10,
                  section.thickness % 100);
    return std::string("NACA ") + digits;
}

Profile nacaProfile(const NacaFourDigit& section, std::optional<double> thicknessRatio)
{
    const double m = section.camber / 100.0;
    const double p = section.position / 10.0;
    const double t = thicknessRatio.value_or(section.thickness / 100.0);
    Profile profile;
    profile.name = nameOf(section);
    for (int i = 0; i <= kIntervals; ++i) {
        // Closer at the leading edge, where the surface turns fastest.
        const double x = (1 - std::cos(std::numbers::pi * i / kIntervals)) / 2;
        const MeanLine mean = meanLine(x, m, p);
        const double theta = std::atan(mean.slope);
        const double half = halfThickness(x, t);
        profile.upper.push_back({x - half * std::sin(theta), mean.y + half * std::cos(theta)});
        profile.lower.push_back({x + half * std::sin(theta), mean.y - half * std::cos(theta)});
    }
    return profile;
}

std::vector<Point> outlineOf(const Profile& profile)
{
    std::vector<Point> outline(profile.upper.rbegin(), profile.upper.rend());
    const bool sharedLeadingEdge =
        !profile.lower.empty() && !outline.empty() && profile.lower.front() == outline.back();
    outline.insert(outline.end(), profile.lower.begin() + (sharedLeadingEdge ? 1 : 0), profile.lower.end());
    return outline;
}

double surfaceAt(const std::vector<Point>& surface, double x)
{
    if (surface.empty())
        return 0;
    // Near a cambered leading edge x may turn back for a point or two: the
    // first stretch that holds x answers.
    for (std::size_t i = 1; i < surface.size(); ++i) {
        const Point a = surface[i - 1], b = surface[i];
        if ((x >= a.x && x <= b.x) || (x <= a.x && x >= b.x))
            return a.x == b.x ? std::max(a.y, b.y) : a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
    }
    const Point& nearest =
        std::abs(x - surface.front().x) < std::abs(x - surface.back().x) ? surface.front() : surface.back();
    return nearest.y;
}

double thicknessRatio(const Profile& profile)
{
    double most = 0;
    constexpr int kSamples = 400;
    for (int i = 0; i <= kSamples; ++i) {
        const double x = static_cast<double>(i) / kSamples;
        most = std::max(most, surfaceAt(profile.upper, x) - surfaceAt(profile.lower, x));
    }
    for (const Point& point : profile.upper)
        most = std::max(most, point.y - surfaceAt(profile.lower, point.x));
    return most;
}

double areaOf(const Profile& profile)
{
    const std::vector<Point> outline = outlineOf(profile);
    double twice = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point& a = outline[i];
        const Point& b = outline[(i + 1) % outline.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::abs(twice) / 2;
}

Profile withThickness(const Profile& profile, double ratio)
{
    const double own = thicknessRatio(profile);
    if (!(own > 0))
        return profile;
    const double scale = ratio / own;
    Profile thick = profile;
    const auto scaled = [scale](std::vector<Point>& surface, const std::vector<Point>& other) {
        for (Point& point : surface) {
            const double mean = (point.y + surfaceAt(other, point.x)) / 2;
            point.y = mean + (point.y - mean) * scale;
        }
    };
    scaled(thick.upper, profile.lower);
    scaled(thick.lower, profile.upper);
    return thick;
}

}  // namespace tivora::workshop
