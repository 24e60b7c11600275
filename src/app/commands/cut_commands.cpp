#include "app/commands/cut_commands.h"

#include <algorithm>
#include <cmath>

namespace cubrik {
namespace {

constexpr int kMiddleLow = kGridSize / 2 - 1;  // 49: the low half's last layer

// A cut along `axis` through the middle that keeps the half farther from the
// viewer, so the cut face looks at the viewer. Row 2 of the rotation is the
// model's direction towards the eye.
CutAway cutFacingViewer(const VoxelModel& model, int axis) {
    const bool eyeOnPlusSide = model.rotation[2 + 4 * axis] > 0;
    return {true, axis, eyeOnPlusSide, eyeOnPlusSide ? kMiddleLow : kMiddleLow + 1, false};
}

// The grid axis nearest the viewing direction.
int axisTowardsViewer(const VoxelModel& model) {
    int best = 0;
    for (int axis = 1; axis < 3; ++axis)
        if (std::abs(model.rotation[2 + 4 * axis]) > std::abs(model.rotation[2 + 4 * best])) best = axis;
    return best;
}

// One layer more in view (+1) or fewer (-1), within the grid.
void stepPlane(CutAway& cut, int shown) {
    const int step = cut.keepLow ? shown : -shown;
    cut.plane = std::clamp(cut.plane + step, 0, kGridSize - 1);
}

// The cells in view and the hidden ones change places. A single layer has no
// hidden side to show instead: it keeps its layer and takes the other side
// for when the rest comes back.
void keepOtherSide(CutAway& cut) {
    if (!cut.layerOnly) cut.plane = std::clamp(cut.plane + (cut.keepLow ? 1 : -1), 0, kGridSize - 1);
    cut.keepLow = !cut.keepLow;
}

void showCut(App& app) {
    app.platform.setMenuChecked(command::kCutAway, app.view.cut.on);
    app.platform.setMenuChecked(command::kCutLayerOnly, app.view.cut.on && app.view.cut.layerOnly);
}

}  // namespace

bool runCutCommand(App& app, int command) {
    CutAway& cut = app.view.cut;
    if (command >= command::kCutAlongX && command < command::kCutAlongX + 3) {
        cut = cutFacingViewer(app.model(), command - command::kCutAlongX);
    } else if (command == command::kCutAway) {
        cut = cut.on ? CutAway{} : cutFacingViewer(app.model(), axisTowardsViewer(app.model()));
    } else if (command < command::kCutAway || command > command::kCutOtherSide) {
        return false;
    } else if (cut.on) {  // the rest change a cut that is on
        switch (command) {
        case command::kCutDeeper: stepPlane(cut, -1); break;
        case command::kCutBack: stepPlane(cut, +1); break;
        case command::kCutLayerOnly: cut.layerOnly = !cut.layerOnly; break;
        case command::kCutOtherSide: keepOtherSide(cut); break;
        default: break;
        }
    }
    showCut(app);
    return true;
}

int cutCommandOfKey(int key) {
    switch (key) {
    case 'U': return command::kCutAway;
    case 'J': return command::kCutDeeper;
    case 'K': return command::kCutBack;
    case 'L': return command::kCutLayerOnly;
    default: return 0;
    }
}

void endCutAway(App& app) {
    app.view.cut = CutAway{};
    showCut(app);
}

}  // namespace cubrik
