#pragma once
// Where the 26 items of the tool panel lie: eight tools in a 2 x 4 grid, the
// two material buttons, and the sixteen colour slots of the current material,
// in one column or, in a window under 640 pixels high, two.

#include "edit/tool_table.h"
#include "model/material.h"

namespace cubrik {

inline constexpr int kPanelWidth = 64;         // the strip at the left of the window
inline constexpr int kCompactBelowHeight = 640;  // client heights below this use two slot columns
inline constexpr int kItemCount = 26;

// Items 0..7 are the tool buttons in the tool table's order, 8 and 9 the
// material buttons, 10..25 the colour slots.
inline constexpr int kMaterialAButton = kToolCount;
inline constexpr int kMaterialBButton = kToolCount + 1;

constexpr bool isToolButton(int item) { return item >= 0 && item < kToolCount; }
constexpr Tool toolOfButton(int item) { return static_cast<Tool>(item); }
constexpr int buttonOf(Tool tool) { return static_cast<int>(tool); }

constexpr bool isMaterialButton(int item) { return item == kMaterialAButton || item == kMaterialBButton; }
constexpr Material materialOfButton(int item) { return item == kMaterialAButton ? Material::A : Material::B; }
constexpr int buttonOf(Material material) { return material == Material::A ? kMaterialAButton : kMaterialBButton; }

constexpr bool isSlot(int item) { return item >= kFirstSlot && item <= kLastSlot; }

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
