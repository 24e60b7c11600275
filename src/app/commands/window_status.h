#pragma once
// What the window tells about itself outside the view: the title with its
// unsaved-changes star, the status bar's line, and the panel's tooltips. The
// texts are made here so that tests read them; the desktop only shows them.

#include <functional>
#include <string>

#include "app/state/platform_interface.h"

namespace cubrik {

struct App;

// "penguin* - Cubrik" while there are unsaved changes, "penguin - Cubrik" otherwise.
std::string windowTitleOf(const App& app);

// The status bar's fields: tool and key, brush size, material and colour
// slot, what is hidden, the cell under the cursor; then the note.
StatusLine statusLineOf(const App& app);

// The whole line, its fields and note three spaces apart.
std::string statusTextOf(const App& app);

// What a status bar `width` wide shows, `widthOf` measuring a text in the
// same units: the note always whole, so the fields give way first, then the
// places. As many leading ones as fit stay, "…" standing for the rest.
std::string fitStatusLine(const StatusLine& line, int width, const std::function<int(const std::string&)>& widthOf);

// Sets the title and the status line where they changed; nothing is drawn.
void refreshWindowTexts(App& app);

// Shows `note` in the status bar until the next command, key or click.
void setStatusNote(App& app, const std::string& note);

// The tooltip of the panel item at client point (x, y); empty off the items.
std::string panelTooltipAt(const App& app, int x, int y);

// Reads which cell lies under client point (x, y) for the status bar
// (a pick pass into the offscreen target; the view is not repainted).
void trackCellUnderCursor(App& app, int x, int y);

}  // namespace cubrik
