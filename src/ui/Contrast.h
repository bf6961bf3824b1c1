#pragma once
// Contrast between colours as the web's accessibility guidelines measure it (relative luminance), and
// colours that stay readable whatever palette the desktop gives the program.
#include <QColor>
#include <QList>

namespace ui::contrast {

constexpr double kText = 4.5;     // text against its background
constexpr double kGraphic = 3.0;  // lines and shapes of a picture against theirs

// Relative luminance, 0 (black) to 1 (white).
double luminance(const QColor& colour);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ratio(const QColor& a, const QColor& b);

// A background for `texts`: `wanted` where every text reads on it by `minimum`; otherwise `wanted` blended
// into `base` as little as keeps them readable, so the box keeps a tint of its colour; `base` itself where
// no blend will do.
QColor readableBackground(const QColor& wanted, const QColor& base, const QList<QColor>& texts,
                          double minimum = kText);

// `wanted` where it stands out from `background` by `minimum`, else `fallback`.
QColor visibleOn(const QColor& wanted, const QColor& background, const QColor& fallback, double minimum = kGraphic);

}  // namespace ui::contrast
