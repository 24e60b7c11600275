#pragma once
// The state room: the App record and what it owns and remembers between runs
// (settings, recent files, the recovery copy and its note, the worker thread
// that writes it), with the desktop's interface and the window's messages.
// Nothing here runs a command or reads input: the room includes only itself
// and the text room, and every room above builds on it.
//
// The application: every piece of state the program keeps, owned in one
// place and handed by reference to the free functions that work on it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/state/message.h"
#include "app/state/platform_interface.h"
#include "app/state/recovery.h"
#include "app/state/settings.h"
#include "app/state/status_state.h"
#include "app/state/tablet_state.h"
#include "app/text/ui_text.h"
#include "edit/box_edit.h"
#include "edit/brush.h"
#include "edit/cell_plane.h"
#include "formats/mesh_extraction.h"
#include "model/edit_state.h"
#include "model/undo_history.h"
#include "model/voxel_model.h"
#include "panel/panel_draw.h"
#include "render/renderer.h"
#include "render/view_state.h"

namespace cubrik {

struct DisplayToggles {
    std::int32_t smoothDisplay = 0;  // switched on during start-up
    std::int32_t zoomed = 0;
    std::int32_t pressureInput = 0;
};

struct GestureFlags {
    std::int32_t strokeActive = 0;
    std::int32_t boxSelecting = 0;  // the left button draws a selection box
    std::int32_t cellDragging = 0;  // the left button adds or empties single cells
    std::int32_t rotateActive = 0;
    std::int32_t panelGesture = 0;
    std::int32_t stepSincePaint = 0;
};

// What a box drag makes of the selection: when `changes`, it becomes `box`
// (nothing for a click); otherwise a corner was off the grid and it stays.
struct DraggedBox {
    bool changes = false;
    std::optional<CellBox> box;
    std::optional<std::array<int, 3>> lastCell;  // the cell the pointer picks now
};

// The selection box and what the Edit menu copied. Neither is part of the
// document: undo leaves them alone.
struct BoxSelection {
    std::optional<CellBox> box;
    bool selectMode = false;  // the left button draws boxes instead of using the tool
    int pressX = 0, pressY = 0;
    std::optional<std::array<int, 3>> firstCell;  // where the press picked a cell
    DraggedBox dragged;  // what the drag in progress would select, shown as it goes
    std::optional<BoxCells> clipboard;
};

// Cell mode (key N): the left button adds one cell, or with Shift empties
// one, and a drag goes on along the plane of the face it began on. Not part
// of the document either.
struct CellMode {
    bool active = false;
    std::optional<CellPlane> plane;  // the drag's; none when its press found no cell
    CellCoordinates last{};          // the drag's last cell
    std::uint8_t code = 0;           // what the drag sets: the current colour, or empty
    bool undoPushed = false;         // the drag's one undo step
};

struct WindowState {
    int clientWidth = 1;
    int clientHeight = 1;
    std::int32_t compactPanel = 0;
    MessageType lastMessage = MessageType::Create;
    int mouseX = 0, mouseY = 0;  // where the last mouse message happened
    std::int32_t startMaximized = 0;
};

struct DocumentState {
    std::string path = "Untitled.cbk";
    std::string title = "Untitled";
    std::int32_t untitled = 1;
    std::int32_t untitledCounter = 1;
    std::string lastFolder;
    std::string exportPath;
    std::string exportTitle;
    std::array<std::uint32_t, 16> customColours{};
};

// Where the program finds and keeps things outside the document.
struct AppPaths {
    std::filesystem::path settingsFolder;  // per-user data folder + "/Cubrik1"
    std::string desktopFolder;             // where the file dialogs first open
    std::string helpDocument;              // the HTML help page
    std::filesystem::path stateFolder;     // per-user state; empty: no recovery copies
};

struct App {
    explicit App(Platform& desktop) : platform(desktop) {}

    Platform& platform;
    Language language = Language::English;
    AppPaths paths;
    Settings settings;
    std::string commandLineName;

    ModelStore store;
    EditState edit;
    PanelDragState panel;
    DocumentFlags flags;
    UndoHistory history;
    DisplayToggles toggles;
    GestureFlags gestures;
    WindowState window;
    DocumentState document;
    Renderer renderer;
    ViewState view;  // not the document's: New, Open and undo leave it to its own rules
    PanelColours panelColours;
    PanelTexture panelTexture;
    EditingBuffers editing;
    ToolKernels toolKernels{};
    MirrorPlanes mirror;  // kept in `settings` too, which the next run starts from
    BoxSelection selection;
    CellMode cellMode;
    MeshExtractor meshExtractor;
    TabletState tablet;
    RecoveryState recovery;
    StatusState status;
    std::vector<CellBox> findingBoxes;  // the cells of each row of the print check's findings list

    VoxelModel& model() { return *store.model; }
    const UiStrings& strings() const { return uiStrings(language); }
};

// Ends both buttons' gestures and lets the mouse go, as a dialog opening must.
void endGestures(App& app);

// Deletes the OpenGL objects of the renderer and the panel; the context that
// made them must be current.
void releaseGlResources(App& app);

// The end of the run: the settings are written. Returns 1, or 0 with `reason`.
int shutDown(App& app, std::string& reason);

}  // namespace cubrik
