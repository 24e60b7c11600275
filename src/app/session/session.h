#pragma once
// Session files: the messages the window procedure receives, one a line, so
// that any sequence of window events runs again without a display. A replay
// reads them; a recording window writes them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/state/message.h"
#include "app/state/platform_interface.h"
#include "app/input/tablet.h"
#include "model/cell_box.h"

namespace cubrik {

struct SessionLine {
    enum class Kind {
        Nothing,  // blank or comment
        Message,  // a window message; `ctrl` marks ctrl+z and ctrl+y
        Shift,    // the Shift state the platform reports from then on
        Ctrl,     // the Ctrl state of the mouse and wheel lines from then on, in `ctrl`
        Pointer,  // where the platform says a command's pointer was, until the next mouse line
        Tablet,   // a pen packet for the next tablet poll
        Answer,   // what the next dialog of its kind answers
        Save,     // Save as `text`
        Grab,     // the client area as last painted, to the TARGA file `text`
        Setting,  // a settings line "key=value" in `text`, as a replay cannot read the user's
        Wait,     // the clock moves on by `seconds`
        Crash,    // the program ends at once, cleaning nothing up
        Clipboard,  // the system clipboard holds `text` (another window's copy)
    };
    enum class Answer { File, Yes, No, Cancel, Colour, Box, Number, Mesh };

    Kind kind = Kind::Nothing;
    Message message;
    bool ctrl = false;
    bool shift = false;
    std::optional<ClientPoint> pointer;  // Pointer; nothing: off the view
    TabletPacket packet;
    Answer answer = Answer::Cancel;
    std::string text;            // a path, a settings line or the clipboard's text
    std::uint32_t colour = 0;    // 0x00BBGGRR, as dialogs give colours
    double seconds = 0;          // Wait
    CellBox box;                 // a Box answer
    VoxelizeOptions mesh;        // a Mesh answer
    int number = 0;              // a Number answer
};

// Whether a replay takes a message line's X and Y as where the pointer is
// from then on: the mouse lines, and a drop (at 0 0).
bool setsPointer(MessageType type);

// Reads one line (without its line end). Returns 1, or 0 with `error`
// saying what is wrong, for example: unknown message "lclick".
int parseSessionLine(std::string_view line, SessionLine& out, std::string& error);

// The line that reads back as `line` (no line end).
std::string formatSessionLine(const SessionLine& line);

}  // namespace cubrik
