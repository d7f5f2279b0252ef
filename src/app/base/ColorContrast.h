#pragma once

#include <QColor>

namespace dictaro {

// Legibility of coloured text, measured as the contrast ratio of the Web Content Accessibility
// Guidelines (1:1 for equal colours up to 21:1 for black on white).
namespace ColorContrast {

// The ratio for normal text that the guidelines ask for.
constexpr double minimumTextRatio = 4.5;

double ratio(const QColor& a, const QColor& b);
// `text` itself when it reaches `minimum` on `background`; otherwise `text` mixed with black
// (on light backgrounds) or white (on dark ones) just enough to reach it.
QColor readableOn(const QColor& text, const QColor& background, double minimum = minimumTextRatio);

} // namespace ColorContrast
} // namespace dictaro
