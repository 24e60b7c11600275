#pragma once
// The tool table: everything that differs from one tool to the next. The
// keys, the panel, the brush outline and the strokes all read it, so a new
// tool is one entry here plus its kernel file.

#include <optional>

#include "edit/stroke.h"
#include "model/edit_state.h"

namespace cubrik {

inline constexpr int kToolCount = 8;

// The pick passes a stroke reads when it starts.
enum class StrokePicks {
    None,
    Solid,
    Empty,
    SolidThenEmpty,  // the solid read ends up in the previous pick, the empty one in the current
};

struct ToolInfo {
    Tool tool;
    char key;                  // the key that selects it
    const char* name;          // as shown to users
    const char* japaneseName;
    StrokePicks picks;
    // Applies the tool once at the stroke's first point, after its picks were read.
    int (*start)(StrokeTarget& stroke, int x, int y);
    // Applies the tool along the segment from (x0, y0) to (x1, y1); `count`
    // is the step count of the stroke (see strokeSpacing).
    int (*step)(StrokeTarget& stroke, int x0, int y0, int x1, int y1, int count);
    // Pixels between stroke samples for a brush size.
    int (*spacing)(int brushSize);
    bool squareOutline;        // the brush outline is a square, not a circle
    int iconLeft, iconTop;     // its 29 x 29 icon in the panel's atlas (texels, y down)
};

const ToolInfo& toolInfo(Tool tool);

// The tool `key` selects, if any.
std::optional<Tool> toolOfKey(int key);

}  // namespace cubrik
