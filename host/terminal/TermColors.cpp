#include "host/terminal/TermColors.h"

#include <array>
#include <climits>
#include <cstdlib>

namespace host::term {

namespace {

struct TRgb {
    int R, G, B;
};

// The sixteen colours as xterm shows them, in palette order.
constexpr std::array<TRgb, 16> kBasic{{
    {0, 0, 0}, {205, 0, 0}, {0, 205, 0}, {205, 205, 0}, {0, 0, 238}, {205, 0, 205}, {0, 205, 205}, {229, 229, 229},
    {127, 127, 127}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {92, 92, 255}, {255, 0, 255}, {0, 255, 255},
    {255, 255, 255},
}};

constexpr std::array<int, 6> kCubeLevels{0, 95, 135, 175, 215, 255};

int Distance(TRgb a, TRgb b) {
    const int dr = a.R - b.R, dg = a.G - b.G, db = a.B - b.B;
    return dr * dr * 3 + dg * dg * 4 + db * db * 2;
}

int NearestLevel(int value) {
    int best = 0;
    for (int i = 1; i < 6; ++i)
        if (std::abs(kCubeLevels[i] - value) < std::abs(kCubeLevels[best] - value)) best = i;
    return best;
}

int NearestBasic(TRgb c, int count) {
    int best = 0, bestDistance = INT_MAX;
    for (int i = 0; i < count; ++i) {
        const int d = Distance(c, kBasic[static_cast<std::size_t>(i)]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace

int NearestTerminalColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, int colorCount) {
    const TRgb c{r, g, b};
    if (colorCount < 16) return NearestBasic(c, 8);
    if (colorCount < 256) return NearestBasic(c, 16);
    // The cube's nearest corner against the grey ramp's nearest step; the
    // sixteen basic colours are exact only for themselves, so they win a tie.
    const int ri = NearestLevel(r), gi = NearestLevel(g), bi = NearestLevel(b);
    const TRgb cube{kCubeLevels[ri], kCubeLevels[gi], kCubeLevels[bi]};
    const int cubeIndex = 16 + 36 * ri + 6 * gi + bi;
    const int grey = (r + g + b) / 3;
    const int step = grey < 8 ? 0 : grey > 238 ? 23 : (grey - 8) / 10;
    const TRgb greyRgb{8 + 10 * step, 8 + 10 * step, 8 + 10 * step};
    const int basic = NearestBasic(c, 16);
    int best = basic, bestDistance = Distance(c, kBasic[static_cast<std::size_t>(basic)]);
    if (Distance(c, cube) < bestDistance) {
        best = cubeIndex;
        bestDistance = Distance(c, cube);
    }
    if (Distance(c, greyRgb) < bestDistance) best = 232 + step;
    return best;
}

} // namespace host::term
