#pragma once
// Where the 26 items of the tool panel lie: eight tools in a 2 x 4 grid, the
// two material buttons, and the sixteen colour slots of the current material,
// in one column or, in a window under 640 pixels high, two.

namespace cubrik {

inline constexpr int kPanelWidth = 64;         // the strip at the left of the window
inline constexpr int kCompactBelowHeight = 640;  // client heights below this use two slot columns
inline constexpr int kItemCount = 26;

// left <= x < right, top <= y < bottom, in window pixels with y down.
struct PanelRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The rectangle of item 0..25; any other number gives an empty rectangle.
PanelRect panelItemRect(int item, bool compact);

// The item under window point (x, y), or -1. Callers decide separately
// whether the point lies in the panel at all.
int panelItemAt(int x, int y, bool compact);

// The icon of item 0..9 in the 64 x 256 atlas (texels, y down); any other
// number gives an empty rectangle.
PanelRect atlasIconRect(int item);

}  // namespace cubrik
