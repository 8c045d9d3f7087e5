#pragma once
// Points and rectangles in pixels, as controls and bitmaps use them.

#include "host/core/Export.h"

VESKAR_PUBLIC_BEGIN

namespace host {

struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr bool operator==(const TPoint&) const = default;
};

// Right and Bottom lie just outside the rectangle.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(int x, int y) { return TPoint{x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }

} // namespace host

VESKAR_PUBLIC_END
