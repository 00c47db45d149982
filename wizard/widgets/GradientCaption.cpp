// Gradient caption layout: strips of width·5/6/64 pixels (at least 1) from the right sixth to the left edge.
#include "GradientCaption.h"

#include <algorithm>

int CaptionLightness(int r, int g, int b) {
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    return ((hi + lo) * 240 + 255) / 510;
}

bool CaptionTextIsWhite(int r, int g, int b) {
    return CaptionLightness(r, g, b) < 101;
}

std::vector<CaptionFill> PlanGradientCaption(int width, int r, int g, int b) {
    std::vector<CaptionFill> fills;
    if (width <= 0) return fills;
    const int w1 = width * 5 / 6;
    const int s = std::max(w1 / 64, 1);
    fills.push_back({w1, width, 0, 0, 0});
    int x = w1, k = 0;
    while (x > s) {
        x -= s;
        k += s;
        fills.push_back({x, x + s, k * r / w1, k * g / w1, k * b / w1});
    }
    if (x > 0) fills.push_back({0, x, r, g, b});
    return fills;
}
