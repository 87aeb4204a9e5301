#pragma once

// The numerical methods of the analysis, each written once: a bracketed
// root finder that says when it did not converge, a bracketing scan, the
// golden-section search for a maximum, and linear interpolation in a table.
// Their tolerances are named here, with what they are measured in.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <utility>

namespace tivora::performance::numeric {

// An inflow angle is found to 1e-10 rad: far below what changes a figure.
inline constexpr double kAngleTolerance = 1e-10;
// A tip speed ratio (the peak of the Cp curve, an operating point) to 1e-3:
// the figures are written to 2 decimals of it at most.
inline constexpr double kTsrTolerance = 1e-3;
// An operating point's tip speed ratio on the alternator, to 1e-9: the
// crossing of two smooth curves costs a few more steps, no more.
inline constexpr double kCrossingTolerance = 1e-9;
// Brent's method halves its bracket at least every other step, so 100 steps
// take any bracket of a double below any tolerance above; more means a fault.
inline constexpr int kMaxIterations = 100;

struct Root {
    double x = 0;
    bool converged = false;  // false: the iteration limit was reached, x is the best found
    int evaluations = 0;
};

// Brent's method on [a, b], where f(a) and f(b) have opposite signs (or one
// is zero).
template <class F>
Root brentRoot(F f, double a, double b, double fa, double fb, double tolerance)
{
    Root root;
    if (fa == 0)
        return {a, true, 0};
    double c = a, fc = fa, d = b - a, e = d;
    for (int i = 0; i < kMaxIterations; ++i) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::abs(fc) < std::abs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol = 2 * std::numeric_limits<double>::epsilon() * std::abs(b) + tolerance / 2;
        const double m = (c - b) / 2;
        if (std::abs(m) <= tol || fb == 0) {
            root.x = b;
            root.converged = true;
            return root;
        }
        if (std::abs(e) >= tol && std::abs(fa) > std::abs(fb)) {
            // Inverse quadratic interpolation, or the secant where only two points differ.
            double p, q;
            const double s = fb / fa;
            if (a == c) {
                p = 2 * m * s;
                q = 1 - s;
            } else {
                const double r = fb / fc;
                const double t = fa / fc;
                p = s * (2 * m * t * (t - r) - (b - a) * (r - 1));
                q = (t - 1) * (r - 1) * (s - 1);
            }
            if (p > 0)
                q = -q;
            else
                p = -p;
            if (2 * p < std::min(3 * m * q - std::abs(tol * q), std::abs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = m;
                e = d;
            }
        } else {
            d = m;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::abs(d) > tol ? d : (m > 0 ? tol : -tol);
        fb = f(b);
        ++root.evaluations;
    }
    root.x = b;
    return root;
}

// Steps from `from` to `to` (both included) in `steps` equal steps and
// brackets the first change of sign of f; Brent's method then finds the
// root in it. None when f keeps its sign all the way.
template <class F>
std::optional<Root> firstRoot(F f, double from, double to, int steps, double tolerance)
{
    double previous = from;
    double fPrevious = f(previous);
    int evaluations = 1;
    for (int i = 1; i <= steps; ++i) {
        const double next = from + (to - from) * i / steps;
        const double fNext = f(next);
        ++evaluations;
        if ((fPrevious < 0) != (fNext < 0) || fNext == 0) {
            Root root = brentRoot(f, previous, next, fPrevious, fNext, tolerance);
            root.evaluations += evaluations;
            return root;
        }
        previous = next;
        fPrevious = fNext;
    }
    return std::nullopt;
}

// The maximum of f on [a, b], taken to be unimodal there, to `tolerance`
// in x: {x, f(x)}.
template <class F>
std::pair<double, double> goldenMaximum(F f, double a, double b, double tolerance)
{
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double x1 = b - ratio * (b - a), x2 = a + ratio * (b - a);
    double f1 = f(x1), f2 = f(x2);
    while (b - a > tolerance) {
        if (f1 < f2) {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + ratio * (b - a);
            f2 = f(x2);
        } else {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - ratio * (b - a);
            f1 = f(x1);
        }
    }
    return f1 > f2 ? std::pair{x1, f1} : std::pair{x2, f2};
}

// Where x falls in a table of rising xs: the segment [i - 1, i] and the
// share t of the way along it. Outside the table, the first or last
// segment carried on (t below 0 or above 1). The table has two rows or more.
struct Segment {
    std::size_t upper;  // i; the segment is [i - 1, i]
    double t;
};
template <class Rows, class X>
Segment segmentOf(const Rows& rows, double x, X xOf)
{
    std::size_t i = 1;
    while (i + 1 < rows.size() && xOf(rows[i]) < x)
        ++i;
    const double x0 = xOf(rows[i - 1]), x1 = xOf(rows[i]);
    return {i, x1 == x0 ? 0 : (x - x0) / (x1 - x0)};
}

constexpr double lerp(double y0, double y1, double t)
{
    return y0 + t * (y1 - y0);
}

// y at x, linear between the rows of a table of rising x.
template <class Rows, class X, class Y>
double interpolate(const Rows& rows, double x, X xOf, Y yOf)
{
    const Segment s = segmentOf(rows, x, xOf);
    return lerp(yOf(rows[s.upper - 1]), yOf(rows[s.upper]), s.t);
}

}  // namespace tivora::performance::numeric
