#pragma once

// Text colours that read on the window's own background, light or dark:
// WCAG 2's contrast of at least 4.5 : 1, what it asks of text.

#include <QColor>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace tivora {

// WCAG 2's relative luminance of a colour, and the contrast of two.
inline double luminance(const QColor& colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

inline double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `colour` where it reads on `background`; otherwise mixed with white on a
// dark background (black on a light one), only as far as it takes.
inline QColor readableOn(const QColor& colour, const QColor& background)
{
    const QColor towards = contrast(Qt::white, background) > contrast(Qt::black, background) ? Qt::white : Qt::black;
    for (int step = 0; step < 10; ++step) {
        const double t = step / 10.0;
        const QColor mixed = QColor::fromRgbF(colour.redF() + t * (towards.redF() - colour.redF()),
                                              colour.greenF() + t * (towards.greenF() - colour.greenF()),
                                              colour.blueF() + t * (towards.blueF() - colour.blueF()));
        if (contrast(mixed, background) >= 4.5)
            return mixed;
    }
    return towards;
}

// The red of a window's notes, on its background.
inline QColor noteColour(const QPalette& palette)
{
    const QColor background = palette.color(QPalette::Window);
    for (const QColor candidate : {QColor(160, 0, 0), QColor(255, 150, 140), QColor(255, 210, 200)}) {
        if (contrast(candidate, background) >= 4.5)
            return candidate;
    }
    return palette.color(QPalette::WindowText);
}

}  // namespace tivora
