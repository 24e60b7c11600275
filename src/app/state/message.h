#pragma once
// What the window hands to the application: one Message per event, with
// mouse positions in client pixels (x from the left, y from the top of the
// client area), which a high-density screen draws with several device pixels.

#include <cstdint>
#include <string>

#include "render/device_frame.h"

namespace cubrik {

enum class MessageType {
    Create,
    Destroy,
    Size,
    Paint,
    EraseBackground,
    Close,
    KeyDown,
    Command,
    MouseMove,
    LeftDown,
    LeftUp,
    LeftDoubleClick,
    RightDown,
    RightDoubleClick,
    RightUp,
    MiddleDown,
    MouseWheel,
    InputMethodNotify,
    Timer,  // time has passed: the recovery copy may be due
    DropFile,  // a file dropped on the window; `path` names it
    ChooseFinding,  // a row of the print check's findings list chosen; `row` says which
};

enum class SizeKind { Restored, Minimized, Maximized, Other };

// Keys the key table knows; letters and digits use their upper-case ASCII code.
namespace key {
inline constexpr int kEscape = 0x1b;
inline constexpr int kSpace = 0x20;
inline constexpr int kPageUp = 0x21;
inline constexpr int kPageDown = 0x22;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kDelete = 0x2e;
inline constexpr int kKeypad0 = 0x60;  // keypad digits: kKeypad0 + n
inline constexpr int kF1 = 0x70;
// Added to a letter's code when Ctrl (and Shift with it) was held: such a key
// is a shortcut and never one of the table's plain keys.
inline constexpr int kCtrl = 0x100;
inline constexpr int kShift = 0x200;
}  // namespace key

// The largest client area, each way: a render of it stays under 1 GB.
inline constexpr int kMaxClientSize = 6144;
// How far from the client area's corner a mouse position may lie (the mouse
// is captured during a gesture): far beyond any screen, and small enough that
// the tools' pixel arithmetic never overflows.
inline constexpr int kMaxPointerOffset = 100000;

struct Message {
    MessageType type = MessageType::Paint;
    int x = 0, y = 0;     // mouse messages
    int key = 0;          // KeyDown
    int command = 0;      // Command: a menu item id
    int wheelDelta = 0;   // MouseWheel: signed rotation
    int width = 0, height = 0;  // Paint: the client area in pixels
    DeviceFrame device{};       // Paint: the framebuffer, when its pixels are finer than the client's
    SizeKind sizeKind = SizeKind::Other;
    std::string path{};         // DropFile
    int row = 0;                // ChooseFinding: 0 for the first row
};

}  // namespace cubrik
