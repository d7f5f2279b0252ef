#include "ColorContrast.h"

#include <algorithm>
#include <cmath>

namespace dictaro::ColorContrast {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

QColor mixed(const QColor& from, const QColor& to, double amount)
{
    const auto channel = [amount](float a, float b) { return a + (b - a) * float(amount); };
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()));
}

} // namespace

double ratio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& text, const QColor& background, double minimum)
{
    if (ratio(text, background) >= minimum)
        return text;
    // Black reaches at least 4.58:1 on any background white cannot reach 4.5:1 on, and the
    // other way round; the lightness in between is found by halving.
    const QColor target = ratio(Qt::black, background) >= ratio(Qt::white, background)
                              ? QColor(Qt::black)
                              : QColor(Qt::white);
    double low = 0.0;
    double high = 1.0;
    for (int i = 0; i < 16; ++i) {
        const double middle = (low + high) / 2;
        (ratio(mixed(text, target, middle), background) >= minimum ? high : low) = middle;
    }
    return mixed(text, target, high);
}

} // namespace dictaro::ColorContrast
