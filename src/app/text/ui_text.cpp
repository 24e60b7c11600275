#include "app/text/ui_text.h"

#include <array>

#include "formats/file_format.h"
#include "formats/import/mesh_reader.h"
#include "formats/palette_file.h"

namespace cubrik {
namespace {

// "*.obj *.stl ...": the mesh files Import mesh… reads.
std::string meshPatterns() {
    std::string patterns = meshExtensionList(" *", " *");
    return "*" + patterns;
}

// The dialog filters of the formats `wanted` accepts, in the table's order.
std::vector<FileFilter> filtersOf(bool (*wanted)(const FileFormat&), Language language) {
    std::vector<FileFilter> filters;
    if (wanted == isReadable) {  // Open first offers every model it reads at once
        std::string patterns;
        for (const FileFormat& format : fileFormats())
            if (wanted(format)) patterns.append(patterns.empty() ? "*." : " *.").append(format.extension);
        filters.push_back({(language == Language::Japanese ? "モデル (" : "Models (") + patterns + ")", patterns});
    }
    for (const FileFormat& format : fileFormats())
        if (wanted(format))
            filters.push_back({std::string(language == Language::Japanese ? format.filterLabelJa : format.filterLabel),
                               "*." + std::string(format.extension)});
    return filters;
}

// The palette dialogs' filters: every type Import reads at once first, or
// each type Export writes.
std::vector<FileFilter> paletteFilters(bool writing, Language language) {
    std::vector<FileFilter> filters;
    std::string patterns;
    for (const PaletteFormat& format : paletteFormats())
        if (!writing) patterns.append(patterns.empty() ? "*." : " *.").append(format.extension);
    if (!writing) filters.push_back({(language == Language::Japanese ? "パレット (" : "Palettes (") + patterns + ")", patterns});
    for (const PaletteFormat& format : paletteFormats())
        if (!writing || format.write != nullptr)
            filters.push_back({std::string(language == Language::Japanese ? format.filterLabelJa : format.filterLabel),
                               "*." + std::string(format.extension)});
    return filters;
}

// Every text in both languages side by side, as the menu table keeps them;
// `language` picks one of each pair.
UiStrings stringsIn(Language language) {
    const auto text = [language](std::string english, std::string japanese) {
        return language == Language::Japanese ? japanese : english;
    };
    return {
        text("Untitled", "無題"),
        filtersOf(isReadable, language),
        text("Open a file", "ファイルを開く"),
        filtersOf(isWritableModel, language),
        text("Save a file", "ファイルを保存"),
        text("About Cubrik", "バージョン情報"),
        text("%s has changes. Do you want to save the model?", "%sは変更されています。保存しますか?"),
        filtersOf(isImage, language),
        text("Export an image", "画像として出力"),
        text("Cannot save %s.", "%sを保存できません。"),
        text("Cannot open %s.", "%sを開けません。"),
        text("Cannot export %s.", "%sを出力できません。"),
        text("%s was not saved: models are saved as .cbk and exported as " + extensionList(isExport, ", ", " or ") + ".",
             "%sは保存されていません。モデルは.cbkで保存し、" + extensionList(isExport, "、", "、") + "で出力します。"),
        text("%s was not written: images are exported as .png or .tga.",
             "%sは出力されていません。画像は.pngか.tgaで出力します。"),
        text("%s has more than 32 colours; the closest were merged so that the two palettes hold them.",
             "%sは32色を超えています。近い色をまとめてパレットに収めました。"),
        text("Cubrik ended without saving changes to \"%s\" (kept at %t). Recover them?",
             "Cubrikは「%s」の変更を保存せずに終了しました(%tの時点の内容を保管しています)。復元しますか?"),
        text("Nothing was pasted: the cells would reach outside the grid.",
             "貼り付けませんでした。セルがグリッドの外に出ます。"),
        text("Nothing was turned: the turned box would leave the grid.",
             "回転しませんでした。回転した範囲がグリッドの外に出ます。"),
        text("Nothing was moved: the cells would leave the grid.", "移動しませんでした。セルがグリッドの外に出ます。"),
        text("Nothing was moved: there are no cells to move.", "移動しませんでした。移動するセルがありません。"),
        text("Nothing was centred: there are no cells to centre.", "中央へ移動しませんでした。セルがありません。"),
        text("Nothing was copied: no cells are selected (B, then drag a box).",
             "コピーしませんでした。範囲が選択されていません(Bを押してドラッグ)。"),
        text("Nothing was cut: no cells are selected (B, then drag a box).",
             "切り取りませんでした。範囲が選択されていません(Bを押してドラッグ)。"),
        text("Nothing was deleted: no cells are selected (B, then drag a box).",
             "削除しませんでした。範囲が選択されていません(Bを押してドラッグ)。"),
        text("Nothing was pasted: nothing has been copied.", "貼り付けませんでした。コピーしたセルがありません。"),
        text("Nothing was selected: a box must start and end over the grid.",
             "選択しませんでした。範囲の始めと終わりはグリッドの上に置いてください。"),
        text("The mirror planes were not moved: no cell lay under the pointer (point at a cell and press M).",
             "ミラー面を移動しませんでした。カーソルの下にセルがありませんでした(セルを指してMを押してください)。"),
        text("Nothing changed: cells would land on cells the cut-away hides.",
             "変更しませんでした。断面表示で隠れているセルに重なります。"),
        text("%s is no longer there; it was taken off Open recent.",
             "%sが見つかりません。最近使ったファイルから外しました。"),
        text("%s was not opened: only " + extensionList(isReadable, ", ", " and ") + " models can be dropped here.",
             "%sは開いていません。ここにドロップできるのは" + extensionList(isReadable, "、", "、") + "のモデルだけです。"),
        {{text("Pictures (*.png *.jpg *.jpeg *.tga)", "画像 (*.png *.jpg *.jpeg *.tga)"), "*.png *.jpg *.jpeg *.tga"}},
        text("Choose a reference picture", "下絵を選ぶ"),
        text("Cannot open %s as a reference picture.", "%sを下絵として開けません。"),
        text("Nothing is selected to frame.", "選択範囲がないので合わせられません。"),
        text("Select a box first (B).", "先に範囲を選択してください (B)。"),
        text("%s: %s cells changed.", "%s: %s個のセルを変更しました。"),
        text("%s: nothing changed; the cells are already so, locked or of the hidden material.",
             "%s: 変更はありません。セルはすでにその状態か、ロック中か、非表示のマテリアルです。"),
        text("There is no cell under the pointer.", "カーソルの下にセルがありません。"),
        text("That cell is already the current colour.", "そのセルはすでに現在の色です。"),
        text("That cell's colour is locked or its material hidden.",
             "そのセルの色はロック中か、マテリアルが非表示です。"),
        text("No cell was placed: the grid ends there or the cell is taken.",
             "セルを置けませんでした。グリッドの端か、セルが埋まっています。"),
        paletteFilters(false, language),
        text("Import a palette", "パレットの読み込み"),
        paletteFilters(true, language),
        text("Export the palettes", "パレットの書き出し"),
        text("%s colours imported into the current material.", "%s色を現在のマテリアルに読み込みました。"),
        text("Palettes A and B written to %s.", "パレットAとBを%sに書き出しました。"),
        text("%s is read-only, so it was not saved. Save the model under another name?",
             "%sは読み取り専用のため保存していません。別の名前で保存しますか?"),
        text("Mirror planes at %s", "ミラー面の位置: %s"),
        text("No cell is filled, so the mirror planes stay where they were.",
             "埋まったセルがないため、ミラー面は動かしていません。"),
        text("Select box", "範囲を数値で選択"),
        text("The two corner cells, x y z from 0 to 99:", "対角の2つのセル (x y z、0〜99):"),
        {{language == Language::Japanese ? "メッシュ (" + meshPatterns() + ")" : "Meshes (" + meshPatterns() + ")",
          meshPatterns()}},
        text("Import a mesh", "メッシュの読み込み"),
        text("Cells along the longest side (1 to 100):", "いちばん長い辺のセル数 (1〜100):"),
        text("Solid: the cells inside the mesh", "中身まで: メッシュの内側のセル"),
        text("Surface: the cells its surface passes through", "表面だけ: 表面が通るセル"),
        text("%s cells", "%s セル"),
        text("Bringing the mesh in…", "メッシュを読み込んでいます…"),
        text("Cannot import %s.", "%sを読み込めません。"),
        {{text("Pictures (*.png *.jpg *.jpeg)", "画像 (*.png *.jpg *.jpeg)"), "*.png *.jpg *.jpeg"}},
        text("Import a picture as cells", "画像をセルとして読み込む"),
        text("Thickness", "厚さ"),
        text("Cells deep, 1 to 100:", "奥行きのセル数 (1〜100):"),
        text("Cannot make cells of %s.", "%sをセルにできません。"),
        text("Export the selection", "選択範囲を書き出す"),
        text("-selection", "-選択範囲"),
        text("Nothing was exported: no cells are selected (B, then drag a box).",
             "書き出しませんでした。範囲が選択されていません(Bを押してドラッグ)。"),
        text("Check for printing", "印刷前のチェック"),
        text("Parts: %s", "パーツ: %s"),
        text("Floating part: %s cells", "浮いているパーツ: %s個のセル"),
        text("Thin walls: %s cells", "薄い壁: %s個のセル"),
        text("Overhangs without support: %s cells", "支えのないオーバーハング: %s個のセル"),
        text("Size: %s mm", "サイズ: %s mm"),
        text("Nothing to fix before printing.", "印刷前に直すところはありません。"),
        text("There are no floating parts to delete.", "削除する浮いたパーツはありません。"),
        text("Write a separate object for each colour, for printers with several extruders?\n"
             "(No writes one object with its colours.)",
             "色ごとに別のオブジェクトとして書き出しますか?(複数のエクストルーダーを持つプリンター向け)\n"
             "「いいえ」では色付きの1つのオブジェクトとして書き出します。"),
    };
}

const UiStrings kEnglish = stringsIn(Language::English);
const UiStrings kJapanese = stringsIn(Language::Japanese);

constexpr MenuItem kFileItems[] = {
    {command::kNew, "New(&N)", "新規作成(&N)", "Ctrl+N"},
    {command::kOpen, "Open(&O)", "開く(&O)", "Ctrl+O"},
    {command::kOpenRecent, "Open recent(&R)", "最近使ったファイル(&R)"},
    {command::kImportMesh, "Import mesh…(&M)", "メッシュの読み込み…(&M)"},
    {command::kImportPicture, "Import picture as cells…(&P)", "画像をセルとして読み込む…(&P)"},
    {0, "", ""},
    {command::kSave, "Save(&S)", "上書き保存(&S)", "Ctrl+S"},
    {command::kSaveAs, "Save as(&A)", "名前をつけて保存(&A)", "Ctrl+Shift+S"},
    {command::kExportSelection, "Export selection…(&L)", "選択範囲を書き出す…(&L)"},
    {0, "", ""},
    {command::kExportImage, "Export an image(&I)", "画像として出力(&I)", "Ctrl+E"},
    {command::kRenderPicture, "Render picture…(&D)", "画像をレンダリング…(&D)"},
    {command::kExportTurntable, "Export turntable…(&T)", "ターンテーブルを出力…(&T)"},
    {0, "", ""},
    {command::kQuit, "Quit(&Q)", "終了(&Q)", "Ctrl+Q"},
};

constexpr MenuItem kEditItems[] = {
    {command::kUndo, "Undo(&U)", "取り消し(&U)", "Ctrl+Z"},
    {command::kRedo, "Redo(&R)", "やり直し(&R)", "Ctrl+Y"},
    {0, "", ""},
    {command::kCut, "Cut(&T)", "切り取り(&T)", "Ctrl+X"},
    {command::kCopy, "Copy(&C)", "コピー(&C)", "Ctrl+C"},
    {command::kPaste, "Paste(&P)", "貼り付け(&P)", "Ctrl+V"},
    {command::kDelete, "Delete(&D)", "削除(&D)", "Del"},
    {0, "", ""},
    {command::kSelectAll, "Select all(&A)", "すべて選択(&A)", "Ctrl+A"},
    {command::kSelectNone, "Select none(&N)", "選択解除(&N)", "Ctrl+Shift+A"},
    {command::kSelectBox, "Select box…(&B)", "範囲を数値で選択…(&B)"},
    {command::kSelectMode, "Select mode(&M)", "範囲選択モード(&M)", "B"},
    {command::kCellMode, "Cell mode(&L)", "セルモード(&L)", "N"},
    {0, "", ""},
    {command::kFill, "Fill(&F)", "塗りつぶし(&F)"},
    {command::kFillEllipsoid, "Fill an ellipsoid(&E)", "楕円体で塗りつぶし(&E)"},
    {command::kFillCylinder, "Fill a cylinder(&Y)", "円柱で塗りつぶし(&Y)"},
    {command::kPaintSelection, "Paint(&I)", "色を塗る(&I)"},
    {command::kHollow, "Hollow(&H)", "中空にする(&H)"},
    {command::kEmptyEllipsoid, "Empty an ellipsoid(&S)", "楕円体で削除(&S)"},
    {command::kEmptyCylinder, "Empty a cylinder(&Z)", "円柱で削除(&Z)"},
    {0, "", ""},
    {command::kFillConnected, "Fill connected(&O)", "つながった部分を塗りつぶし(&O)", "P"},
};

constexpr MenuItem kModelItems[] = {
    {command::kFlipX, "Flip X(&X)", "X反転(&X)"},
    {command::kFlipX + 1, "Flip Y(&Y)", "Y反転(&Y)"},
    {command::kFlipX + 2, "Flip Z(&Z)", "Z反転(&Z)"},
    {0, "", ""},
    {command::kTurnX, "Turn 90° about X(&1)", "Xを軸に90°回転(&1)"},
    {command::kTurnX + 1, "Turn 90° about Y(&2)", "Yを軸に90°回転(&2)"},
    {command::kTurnX + 2, "Turn 90° about Z(&3)", "Zを軸に90°回転(&3)"},
    {0, "", ""},
    {command::kCentre, "Centre in the grid(&C)", "グリッドの中央へ(&C)"},
    {0, "", ""},
    {command::kMovePlusX, "Move +X(&R)", "+Xへ移動(&R)"},
    {command::kMovePlusX + 1, "Move −X(&L)", "−Xへ移動(&L)"},
    {command::kMovePlusX + 2, "Move +Y(&U)", "+Yへ移動(&U)"},
    {command::kMovePlusX + 3, "Move −Y(&D)", "−Yへ移動(&D)"},
    {command::kMovePlusX + 4, "Move +Z(&F)", "+Zへ移動(&F)"},
    {command::kMoveMinusZ, "Move −Z(&B)", "−Zへ移動(&B)"},
    {0, "", ""},
    {command::kCheckForPrinting, "Check for printing(&P)", "印刷前のチェック(&P)"},
    {command::kDeleteFloatingParts, "Delete floating parts(&G)", "浮いているパーツを削除(&G)"},
};

constexpr MenuItem kViewItems[] = {
    {command::kSmooth, "Smooth(&S)", "スムーズ(&S)", "X"},
    {0, "", ""},
    {command::kZoom, "Zoom(&Z)", "ズーム(&Z)", "Z"},
    {0, "", ""},
    {40023, "Front(&F)", "前面(&F)", "1"},
    {40024, "Back(&A)", "背面(&A)", "2"},
    {40025, "Left(&L)", "左面(&L)", "3"},
    {40026, "Right(&R)", "右面(&R)", "4"},
    {40027, "Top(&T)", "上面(&T)", "5"},
    {40028, "Bottom(&B)", "底面(&B)", "6"},
    {0, "", ""},
    {command::kCutAway, "Cut away(&C)", "断面表示(&C)", "U"},
    {command::kCutDeeper, "Cut deeper(&D)", "断面を奥へ(&D)", "J"},
    {command::kCutBack, "Cut back(&K)", "断面を手前へ(&K)", "K"},
    {command::kCutLayerOnly, "Only the cut layer(&O)", "断面の層だけ表示(&O)", "L"},
    {command::kCutAlongX, "Cut along X(&1)", "Xで切る(&1)"},
    {command::kCutAlongX + 1, "Cut along Y(&2)", "Yで切る(&2)"},
    {command::kCutAlongX + 2, "Cut along Z(&3)", "Zで切る(&3)"},
    {command::kCutOtherSide, "Keep the other side(&E)", "反対側を表示(&E)"},
    {0, "", ""},
    {command::kFrameModel, "Frame the model(&M)", "モデル全体を表示(&M)", "Home"},
    {command::kFrameSelection, "Frame the selection(&N)", "選択範囲を表示(&N)"},
    {command::kResetCamera, "Reset the camera(&H)", "カメラを元に戻す(&H)"},
    {command::kOrthographic, "Orthographic(&I)", "平行投影(&I)", "O"},
    {0, "", ""},
    {command::kReferencePicture, "Reference picture…(&P)", "下絵…(&P)"},
    {command::kHideReference, "Hide the reference picture(&U)", "下絵を隠す(&U)"},
    {command::kFloorGrid, "Floor grid(&G)", "床のグリッド(&G)"},
    {command::kAmbientOcclusion, "Ambient occlusion(&A)", "アンビエントオクルージョン(&A)"},
    {command::kCellEdges, "Cell edges(&D)", "セルの縁(&D)"},
};

constexpr MenuItem kMirrorItems[] = {
    {command::kMirrorX, "X: left and right(&X)", "X: 左右(&X)"},
    {command::kMirrorX + 1, "Y: up and down(&Y)", "Y: 上下(&Y)"},
    {command::kMirrorZ, "Z: front and back(&Z)", "Z: 前後(&Z)"},
    {0, "", ""},
    {command::kMirrorToCursor, "Planes through the cell under the cursor(&C)", "カーソル下のセルを通す(&C)", "M"},
    {command::kMirrorToMiddle, "Planes through the middle(&R)", "中央を通す(&R)"},
    {command::kMirrorToModelCentre, "Planes through the model's centre(&O)", "モデルの中心を通す(&O)"},
};

constexpr MenuItem kSettingsItems[] = {
    {command::kBackgroundColour, "Background Color(&B)", "背景色(&B)"},
    {0, "", ""},
    {command::kPressureInput, "Pressure input(&P)", "筆圧感知(&P)"},
    {0, "", ""},
    {command::kFirstUndoSteps, "20 undo steps(&W)", "取り消し 20 回(&W)"},
    {command::kFirstUndoSteps + 1, "100 undo steps(&H)", "取り消し 100 回(&H)"},
    {command::kLastUndoSteps, "1000 undo steps(&T)", "取り消し 1000 回(&T)"},
    {0, "", ""},
    {command::kImportPalette, "Import palette…(&I)", "パレットの読み込み…(&I)"},
    {command::kExportPalettes, "Export palettes…(&E)", "パレットの書き出し…(&E)"},
};

constexpr MenuItem kHelpItems[] = {
    {command::kHelp, "Help(&H)", "ヘルプ(&H)", "F1"},
    {0, "", ""},
    {command::kAbout, "About(&A)", "バージョン情報(&V)"},
};

constexpr std::array<MenuPopup, 7> kMenuBar = {{
    {"File(&F)", "ファイル(&F)", kFileItems},
    {"Edit(&E)", "編集(&E)", kEditItems},
    {"Model(&O)", "モデル(&O)", kModelItems},
    {"View(&V)", "表示(&V)", kViewItems},
    {"Mirror(&M)", "ミラー(&M)", kMirrorItems},
    {"Settings(&S)", "設定(&S)", kSettingsItems},
    {"Help(&H)", "ヘルプ(&H)", kHelpItems},
}};

}  // namespace

Language languageOfLocale(std::string_view localeName) {
    return localeName.substr(0, 2) == "ja" && (localeName.size() == 2 || localeName[2] == '_' ||
                                               localeName[2] == '.' || localeName[2] == '-')
               ? Language::Japanese
               : Language::English;
}

const UiStrings& uiStrings(Language language) { return language == Language::Japanese ? kJapanese : kEnglish; }

std::string fillIn(const std::string& text, const std::string& value) {
    std::string out = text;
    const std::size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, value);
    return out;
}

std::span<const MenuPopup> menuBar() { return kMenuBar; }

std::string commandName(int command, Language language) {
    for (const MenuPopup& popup : menuBar())
        for (const MenuItem& item : popup.items) {
            if (item.command != command) continue;
            std::string name = item.text(language);
            if (const std::size_t key = name.find("(&"); key != std::string::npos) name.erase(key);
            if (name.ends_with("…")) name.erase(name.size() - std::string("…").size());
            return name;
        }
    return "";
}

bool isMenuCommand(int id) {
    if (id >= command::kFirstRecent && id < command::kFirstRecent + command::kRecentCount) return true;
    for (const MenuPopup& popup : menuBar())
        for (const MenuItem& item : popup.items)
            if (item.command != 0 && item.command != command::kOpenRecent && item.command == id) return true;
    return false;
}

}  // namespace cubrik
