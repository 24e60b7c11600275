#pragma once
// The frames of a turntable in OpenGL: one headless context, one renderer and
// one walk of the model for all of them; each frame only turns the model and
// draws the kept quads again. The picture of a frame is the image export's
// render on the background, before keying: the whole view, not cropped.

#include <cstdint>
#include <string>
#include <vector>

#include "render/headless_context.h"
#include "render/renderer.h"
#include "render/view_inputs.h"

namespace cubrik {

struct TurntableView {
    HeadlessGlContext gl;
    Renderer renderer;
    bool rendererMade = false;
    std::vector<std::uint8_t> rgba;  // one frame read back, rows bottom to top

    TurntableView() = default;
    ~TurntableView();  // releases the renderer in its context, then the context
    TurntableView(const TurntableView&) = delete;
    TurntableView& operator=(const TurntableView&) = delete;
};

// Makes the context current on this thread and the renderer in it. Returns
// 1, or 0 with `reason`.
int openTurntableView(TurntableView& turntable, std::string& reason);

// Sets `view`'s model to the front view turned by `degrees` about the
// vertical axis through the grid's centre, draws it, and writes the view,
// (clientWidth - 64) x clientHeight, as RGB rows top to bottom into `rgb`.
// Returns 1, or 0 with `reason` when no offscreen target can be made.
int drawTurntableFrame(TurntableView& turntable, const ViewInputs& view, double degrees, std::uint8_t* rgb,
                       std::string& reason);

}  // namespace cubrik
