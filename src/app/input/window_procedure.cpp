#include "app/input/window_procedure.h"

#include "app/commands/camera_commands.h"
#include "app/commands/desktop_commands.h"
#include "app/commands/document_commands.h"
#include "app/commands/frame.h"
#include "app/commands/menu_commands.h"
#include "app/commands/print_check_commands.h"
#include "app/commands/strokes.h"
#include "app/commands/window_status.h"
#include "app/input/gestures.h"
#include "app/input/key_table.h"
#include "app/input/tablet.h"
#include "edit/brush.h"

namespace cubrik {
namespace {

void handleSize(App& app, SizeKind kind) {
    if (kind == SizeKind::Restored) app.settings.windowMaximized = 0;
    if (kind == SizeKind::Maximized) app.settings.windowMaximized = 1;
    app.platform.invalidate();
}

bool isMouseButtonOrMove(MessageType type) {
    switch (type) {
    case MessageType::MouseMove:
    case MessageType::LeftDown:
    case MessageType::LeftUp:
    case MessageType::LeftDoubleClick:
    case MessageType::RightDown:
    case MessageType::RightDoubleClick:
    case MessageType::RightUp:
    case MessageType::MiddleDown: return true;
    default: return false;
    }
}

void handleMouse(App& app, const Message& m) {
    app.window.mouseX = m.x;
    app.window.mouseY = m.y;
    pollTablet(app);
    switch (m.type) {
    case MessageType::MouseMove:
        mouseMove(app, m.x, m.y);
        if (!app.gestures.strokeActive && !app.gestures.rotateActive) trackCellUnderCursor(app, m.x, m.y);
        break;
    case MessageType::LeftDown: leftPress(app, m.x, m.y); break;
    case MessageType::LeftDoubleClick: leftDoubleClick(app, m.x, m.y); break;
    case MessageType::LeftUp: leftRelease(app, m.x, m.y); break;
    case MessageType::RightDown:
    case MessageType::RightDoubleClick: rightPress(app, m.x, m.y); break;
    case MessageType::RightUp: rightRelease(app); break;
    case MessageType::MiddleDown: pickColourAtCursor(app, m.x, m.y); break;
    default: break;
    }
    app.platform.invalidate();
}

}  // namespace

int handleMessage(App& app, const Message& m) {
    if (m.type == MessageType::EraseBackground) return 0;  // never recorded as the last message
    if (m.type == MessageType::Timer) {
        // Not the last message either: a tick between two paints must not make the second draw.
        keepRecoveryCopy(app);
        return 0;
    }
    ++app.recovery.messageDepth;  // a dialog of this message may let a tick in
    // A note lasts until the user does something else.
    if (m.type == MessageType::KeyDown || m.type == MessageType::Command || m.type == MessageType::LeftDown ||
        m.type == MessageType::RightDown || m.type == MessageType::DropFile || m.type == MessageType::ChooseFinding)
        app.status.note.clear();
    if (isMouseButtonOrMove(m.type)) {
        handleMouse(app, m);
    } else {
        switch (m.type) {
        case MessageType::Size: handleSize(app, m.sizeKind); break;
        case MessageType::Paint: paint(app, m.width, m.height, m.device); break;
        case MessageType::Close: quitProgram(app); break;
        case MessageType::KeyDown:
            if (handleKey(app, m.key)) app.platform.invalidate();
            break;
        case MessageType::Command:
            runMenuCommand(app, m.command);
            // Closing a menu does not repaint the view here as it would under
            // other window systems, so every command asks for a frame.
            app.platform.invalidate();
            break;
        case MessageType::MouseWheel:
            pollTablet(app);
            if (app.platform.ctrlDown()) {
                zoomAtPointer(app, m.wheelDelta);
            } else {
                stepBrushSize(app.model().brushSize, m.wheelDelta);
                forcedStrokeStep(app);
            }
            app.platform.invalidate();
            break;
        case MessageType::ChooseFinding:
            endGestures(app);
            chooseFinding(app, m.row);
            app.platform.invalidate();
            break;
        case MessageType::InputMethodNotify: app.platform.inputMethodOff(); break;
        case MessageType::DropFile:
            endGestures(app);
            dropFile(app, m.path);
            app.platform.invalidate();
            break;
        default: break;
        }
    }
    app.window.lastMessage = m.type;
    --app.recovery.messageDepth;
    keepRecoveryCopy(app);  // a copy due during a stroke or dialog is written as it ends
    if (m.type != MessageType::Paint) refreshWindowTexts(app);
    return 0;
}

}  // namespace cubrik
