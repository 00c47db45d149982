// The layout of the gradient caption: which colour fills which columns, and the text colour. Portable, so
// that the strip rule is tested without a display; CCaptionPainter fills the strips it lists.
#pragma once

#include <vector>

struct CaptionFill {
    int x0, x1;  // columns x0 .. x1-1, full height
    int r, g, b;
};

// Lightness of a colour on the 0..240 scale: ((max + min) * 240 + 255) / 510.
int CaptionLightness(int r, int g, int b);

// Fills of a caption width pixels wide whose base colour is (r, g, b): the right sixth black, then strips
// growing from black to the base colour towards the left edge, the rest of the left edge the base colour.
std::vector<CaptionFill> PlanGradientCaption(int width, int r, int g, int b);

// White text on a dark base, black on a light one.
bool CaptionTextIsWhite(int r, int g, int b);
