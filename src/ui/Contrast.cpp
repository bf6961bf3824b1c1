#include "ui/Contrast.h"

#include <algorithm>
#include <cmath>

namespace ui::contrast {
namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

QColor blend(const QColor& from, const QColor& to, double share)
{
    auto mix = [share](int a, int b) { return int(std::lround(a + (b - a) * share)); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

bool readsOn(const QColor& background, const QList<QColor>& texts, double minimum)
{
    return std::all_of(texts.begin(), texts.end(), [&](const QColor& t) { return ratio(t, background) >= minimum; });
}

}  // namespace

double luminance(const QColor& colour)
{
    const QColor c = colour.toRgb();
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double ratio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableBackground(const QColor& wanted, const QColor& base, const QList<QColor>& texts, double minimum)
{
    // Twenty steps from the wanted colour towards the base: near enough to the best tint, and cheap.
    constexpr int kSteps = 20;
    for (int step = 0; step < kSteps; ++step) {
        const QColor candidate = blend(base, wanted, 1.0 - double(step) / kSteps);
        if (readsOn(candidate, texts, minimum))
            return candidate;
    }
    return base;
}

QColor visibleOn(const QColor& wanted, const QColor& background, const QColor& fallback, double minimum)
{
    return ratio(wanted, background) >= minimum ? wanted : fallback;
}

}  // namespace ui::contrast
