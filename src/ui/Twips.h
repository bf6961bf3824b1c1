#pragma once
// Window and control geometry is kept in twips (1440 per inch), 15 per pixel at 96 dots per inch.
#include <QRect>

namespace twips {

constexpr int kPerPixel = 15;

constexpr int toPixels(int t) { return t / kPerPixel; }
constexpr int fromPixels(int px) { return px * kPerPixel; }
inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

}  // namespace twips
