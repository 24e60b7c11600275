#include "app/commands/window_status.h"

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "app/commands/box_commands.h"
#include "app/commands/strokes.h"
#include "app/state/app.h"
#include "edit/tool_table.h"
#include "model/material.h"
#include "panel/panel_layout.h"
#include "render/camera.h"

namespace cubrik {
namespace {

struct StatusWords {
    const char* size;
    const char* colour;
    const char* hidden;  // "%m hidden — %k shows it"
    const char* bothShown;
    const char* cell;
    const char* code;
    const char* empty;
    const char* mirror;      // followed by the enabled planes' letters
    const char* cut;         // followed by "Z ≤ 49" or "Z ≥ 50"
    const char* layer;       // followed by "Z = 49"
    const char* selectMode;
    const char* cellMode;
    const char* selection;   // followed by the box's size
    const char* box;         // select mode's box: followed by its size and corners
    const char* between;     // between the box's two corners
    const char* filled;
    const char* zoom;  // followed by the camera's zoom in percent
    // Tooltips
    const char* materialCurrent;  // "%m: click shows or hides the other material"
    const char* materialOther;    // "%m: click makes it current"
    const char* locked;
    const char* unlocked;
    const char* slotActions;
};

constexpr StatusWords kEnglish = {
    "Size",
    "Colour",
    "%m hidden — %k shows it",
    "A and B shown",
    "Cell",
    "code",
    "empty",
    "Mirror",
    "Cut",
    "Layer",
    "Select mode (B)",
    "Cell mode (N, Shift empties)",
    "Selection",
    "Box",
    " to ",
    "filled",
    "Zoom",
    "Material %m (%k): a click shows or hides the other material too",
    "Material %m (%k): a click makes it the current material",
    "locked",
    "unlocked",
    "Click: use this colour\nDouble-click the current colour: edit it\nRight-click: lock or unlock it\n"
    "Drag onto another colour: give its cells this one\nSettings ▸ Import palette: all 16 from a file",
};

constexpr StatusWords kJapanese = {
    "サイズ",
    "色",
    "%mは非表示 — %kで表示",
    "AとBを表示",
    "セル",
    "コード",
    "空",
    "ミラー",
    "断面",
    "層",
    "範囲選択モード (B)",
    "セルモード (N、Shiftで削除)",
    "選択範囲",
    "ボックス",
    " 〜 ",
    "個が埋まっています",
    "ズーム",
    "マテリアル%m (%k): クリックでもう一方の表示を切り替え",
    "マテリアル%m (%k): クリックで選択",
    "ロック中",
    "ロックなし",
    "クリック: この色を選択\n選択中の色をダブルクリック: 色を編集\n右クリック: ロックの切り替え\n"
    "別の色へドラッグ: その色のセルをこの色に塗り替え\n設定 ▸ パレットの読み込み: 16色をファイルから",
};

constexpr const char* kSeparator = "   ";
constexpr const char* kLeftOut = "…";  // stands for the fields a narrow status bar leaves out

// The fields, then the note, kSeparator between them.
std::string wholeText(const StatusLine& line) {
    std::string text;
    for (const std::string& field : line.fields) text += (text.empty() ? "" : kSeparator) + field;
    if (!line.note.empty()) text += (text.empty() ? "" : kSeparator) + line.note;
    return text;
}

const VoxelModel& modelOf(const App& app) { return *app.store.model; }

const StatusWords& wordsOf(const App& app) { return app.language == Language::Japanese ? kJapanese : kEnglish; }

char materialKey(Material material) { return material == Material::A ? 'T' : 'G'; }

// `text` with %m and %k replaced.
std::string withMaterial(const char* text, Material material, char key) {
    std::string out;
    for (const char* c = text; *c != '\0'; ++c) {
        if (c[0] == '%' && c[1] == 'm') {
            out += materialLetter(material);
            ++c;
        } else if (c[0] == '%' && c[1] == 'k') {
            out += key;
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

std::string hexColour(const Rgb& colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", packColour(colour) & 0xffffffu);
    return text;
}

std::string cellText(const std::array<int, 3>& cell) {
    return std::to_string(cell[0]) + "," + std::to_string(cell[1]) + "," + std::to_string(cell[2]);
}

std::string toolText(const App& app, Tool tool) {
    const ToolInfo& info = toolInfo(tool);
    return std::string(app.language == Language::Japanese ? info.japaneseName : info.name) + " (" + info.key + ")";
}

// "code 3 A3 #FF0000": the cell's code, its material, colour number from 1 and colour.
std::string codeText(const App& app, std::uint8_t code) {
    const Material material = materialOfCode(code);
    const int entry = code - firstCodeOf(material);
    std::string text = std::string(wordsOf(app).code) + " " + std::to_string(code);
    if (entry >= kPaletteSize) return text;
    return text + " " + materialLetter(material) + std::to_string(entry + 1) + " " +
           hexColour(paletteOf(modelOf(app), material)[entry]);
}

}  // namespace

std::string windowTitleOf(const App& app) {
    return app.document.title + (app.flags.modelModified ? "*" : "") + " - Cubrik";
}

StatusLine statusLineOf(const App& app) {
    const StatusWords& words = wordsOf(app);
    const EditState& edit = app.edit;
    const Material current = edit.currentMaterial;
    const int entry = edit.currentSlot - kFirstSlot;
    StatusLine line;
    std::vector<std::string>& fields = line.fields;
    fields.push_back(toolText(app, edit.currentTool));
    fields.push_back(std::string(words.size) + " " + std::to_string(modelOf(app).brushSize));
    fields.push_back(std::string(words.colour) + " " + materialLetter(current) + std::to_string(entry + 1) + " " +
                     hexColour(paletteOf(modelOf(app), current)[entry]));
    fields.push_back(edit.alsoShownMaterial ? std::string(words.bothShown)
                                            : withMaterial(words.hidden, otherMaterial(current), materialKey(current)));
    if (app.mirror.any()) {
        std::string mirror = words.mirror;
        for (int axis = 0; axis < 3; ++axis)
            if (app.mirror.enabled[axis]) mirror += std::string(" ") + "XYZ"[axis];
        fields.push_back(mirror);
    }
    if (const CutAway& cut = app.view.cut; cut.on)
        fields.push_back(std::string(cut.layerOnly ? words.layer : words.cut) + " " + "XYZ"[cut.axis] +
                         (cut.layerOnly ? " = " : cut.keepLow ? " ≤ " : " ≥ ") + std::to_string(cut.plane));
    if (app.view.camera.zoomStep != 0)
        fields.push_back(std::string(words.zoom) + " " +
                         std::to_string(std::lround(100.0 * zoomFactor(app.view.camera.zoomStep))) + "%");
    if (app.selection.selectMode) fields.push_back(words.selectMode);
    if (app.cellMode.active) fields.push_back(words.cellMode);
    if (const std::optional<CellBox> box = shownSelection(app)) {
        const std::string size = std::to_string(box->size(0)) + " × " + std::to_string(box->size(1)) + " × " +
                                 std::to_string(box->size(2));
        // Select mode places boxes, so it says where the corners are: "Box 12 × 8 × 100 — 10,20,0 to 21,27,99".
        if (app.selection.selectMode)
            fields.push_back(std::string(words.box) + " " + size + " — " + cellText(box->min) + words.between +
                             cellText(box->max));
        else
            fields.push_back(std::string(words.selection) + " " + size + ", " +
                             std::to_string(filledCount(modelOf(app), *box)) + " " + words.filled);
    }
    if (app.status.cell >= 0) {
        const int cell = app.status.cell;
        const std::uint8_t code = modelOf(app).cells[cell];
        fields.push_back(std::string(words.cell) + " " + std::to_string(cell % 100) + "," +
                         std::to_string(cell / 100 % 100) + "," + std::to_string(cell / 10000) + " " +
                         (code == 0 ? std::string(words.empty) : codeText(app, code)));
    }
    line.note = app.status.note;
    return line;
}

std::string statusTextOf(const App& app) { return wholeText(statusLineOf(app)); }

std::string fitStatusLine(const StatusLine& line, int width, const std::function<int(const std::string&)>& widthOf) {
    const std::string whole = wholeText(line);
    if (widthOf(whole) <= width) return whole;
    // Fields leave from the right, one at a time, until the rest fits.
    for (std::size_t kept = line.fields.size(); kept-- > 0;) {
        StatusLine shorter{{line.fields.begin(), line.fields.begin() + static_cast<std::ptrdiff_t>(kept)}, line.note};
        shorter.fields.push_back(kLeftOut);
        const std::string text = wholeText(shorter);
        if (widthOf(text) <= width) return text;
    }
    return line.note.empty() ? kLeftOut : line.note;
}

void refreshWindowTexts(App& app) {
    const std::string title = windowTitleOf(app);
    if (title != app.status.shownTitle) {
        app.status.shownTitle = title;
        app.platform.setWindowTitle(title);
    }
    StatusLine line = statusLineOf(app);
    if (line != app.status.shownLine) {
        app.status.shownLine = std::move(line);
        app.platform.setStatusText(app.status.shownLine);
    }
}

void setStatusNote(App& app, const std::string& note) {
    app.status.note = note;
    for (char& c : app.status.note)
        if (c == '\n') c = ' ';
}

std::string panelTooltipAt(const App& app, int x, int y) {
    if (x < 0 || x >= kPanelWidth || y < 0) return "";
    const int item = panelItemAt(x, y, app.window.compactPanel != 0);
    const StatusWords& words = wordsOf(app);
    if (isToolButton(item)) return toolText(app, toolOfButton(item));
    if (isMaterialButton(item)) {
        const Material material = materialOfButton(item);
        return withMaterial(material == app.edit.currentMaterial ? words.materialCurrent : words.materialOther,
                            material, materialKey(material));
    }
    if (isSlot(item)) {
        const Material material = app.edit.currentMaterial;
        const int entry = item - kFirstSlot;
        return std::string(1, materialLetter(material)) + std::to_string(entry + 1) + " " +
               hexColour(paletteOf(modelOf(app), material)[entry]) + ", " +
               (locksOf(modelOf(app), material)[entry] ? words.locked : words.unlocked) + "\n" + words.slotActions;
    }
    return "";
}

void trackCellUnderCursor(App& app, int x, int y) {
    if (!app.status.trackCell) return;
    const bool inView = x < app.window.clientWidth && y >= 0 && y < app.window.clientHeight;
    app.status.cell = inView ? visibleCellAt(app, x, y) : -1;
}

}  // namespace cubrik
