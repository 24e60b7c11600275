#pragma once
// The text room, the lowest of the application's: every text the user reads,
// English and Japanese side by side, the menu table with its command ids, and
// the dialogs' file filters. It knows nothing of the App, so every room above
// may name a text or a command.
//
// This header: the user-interface texts in English and Japanese, and the menu they label.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cubrik {

struct FileFilter {
    std::string label;    // "Cubrik(*.cbk)"
    std::string pattern;  // "*.cbk"
};

enum class Language { English, Japanese };

// Japanese when the locale's language is Japanese ("ja_JP.UTF-8", "ja").
Language languageOfLocale(std::string_view localeName);

struct UiStrings {
    std::string untitledBase;  // base of automatic document names
    std::vector<FileFilter> openFilters;
    std::string openTitle;
    std::vector<FileFilter> saveFilters;  // every model and mesh format, native first
    std::string saveTitle;
    std::string aboutCaption;
    std::string unsavedPrompt;  // "%s" stands for the document title
    std::vector<FileFilter> imageFilters;
    std::string imageTitle;
    // Failures the user hears about; "%s" stands for a path.
    std::string cannotSave;
    std::string cannotOpen;
    std::string cannotExport;
    std::string unknownSaveType;
    std::string unknownImageType;
    std::string coloursMerged;  // a .vox file had more colours than the palettes hold
    // The offer of a recovery copy at start: "%s" the title, "%t" the copy's time.
    std::string recoveryPrompt;
    // Box edits that would put cells outside the grid, and so do nothing; like
    // every refusal of the commands below, shown in the status bar.
    std::string pasteOutside;
    std::string turnOutside;
    // The other refusals of the selection, model and mirror commands, shown in the status bar.
    std::string moveOutside;
    std::string nothingToMove;
    std::string nothingToCentre;
    std::string copyUnselected;
    std::string cutUnselected;
    std::string deleteUnselected;
    std::string pasteNothing;
    std::string boxOffGrid;
    std::string noCellUnderPointer;
    std::string landsOnHidden;  // a flip, turn or move would put cells on ones the cut-away hides
    std::string recentGone;     // an Open recent entry whose file has gone
    std::string droppedNotModel;
    // The reference picture behind the model, and framing a selection there is not.
    std::vector<FileFilter> pictureFilters;
    std::string pictureTitle;
    std::string cannotOpenPicture;
    std::string nothingToFrame;
    // The shapes, Fill connected and cell mode: what was done or why nothing
    // was (the first "%s" the command's name, the second the number of cells).
    std::string selectBoxFirst;
    std::string cellsChanged;
    std::string nothingChanged;
    std::string noCellThere;
    std::string alreadyCurrent;
    std::string cellProtected;
    std::string cellNotPlaced;
    // Palette files: the dialogs, then "%s" the number of colours or the path.
    std::vector<FileFilter> paletteImportFilters;
    std::string paletteImportTitle;
    std::vector<FileFilter> paletteExportFilters;
    std::string paletteExportTitle;
    std::string paletteImported;
    std::string palettesExported;
    std::string readOnlySaveAs;  // Save on a read-only file offers Save as
    // Planes through the model's centre: where they went ("%s": "x 49.5, y 30, z 49.5"), or why not.
    std::string mirrorPlanesAt;
    std::string nothingFilledToMirror;
    // Select box…: the dialog's title and what its six numbers are.
    std::string selectBoxTitle;
    std::string selectBoxPrompt;
    // Import mesh…: its file dialog, its question (the cells along the longest
    // side, solid or surface, "%s" the size it gives), its progress and failure.
    std::vector<FileFilter> meshFilters;
    std::string meshTitle;
    std::string meshCellsLabel;
    std::string meshSolid;
    std::string meshSurface;
    std::string meshSizePreview;
    std::string meshProgress;
    std::string cannotImportMesh;
    // Import picture as cells…: the dialogs, and why a picture gave no cells ("%s" its path).
    std::vector<FileFilter> cellPictureFilters;
    std::string cellPictureTitle;
    std::string thicknessTitle;
    std::string thicknessPrompt;
    std::string cannotImportPicture;
    // Export selection…: the dialog, the name it proposes after the title, and its refusal.
    std::string exportSelectionTitle;
    std::string selectionSuffix;
    std::string exportUnselected;
    // Check for printing: the findings list's title and rows ("%s" a count or
    // a size), and what Delete floating parts finds none of.
    std::string checkTitle;
    std::string checkParts;
    std::string checkFloatingPart;
    std::string checkThinWalls;
    std::string checkOverhangs;
    std::string checkSize;
    std::string checkNothingFound;
    std::string noFloatingParts;
    // Save as 3MF: Yes writes an object per colour, No one object in colour.
    std::string colourPartsQuestion;
};

const UiStrings& uiStrings(Language language);

// A string with its "%s" replaced by `value`.
std::string fillIn(const std::string& text, const std::string& value);

// Menu item ids, as the menus send them.
namespace command {
inline constexpr int kNew = 40001;
inline constexpr int kOpen = 40002;
inline constexpr int kSave = 40003;
inline constexpr int kSaveAs = 40004;
inline constexpr int kExportImage = 40005;
inline constexpr int kImportMesh = 40008;
inline constexpr int kQuit = 40006;
inline constexpr int kRenderPicture = 40007;
inline constexpr int kExportTurntable = 40009;
inline constexpr int kImportPicture = 40010;
inline constexpr int kUndo = 40011;
inline constexpr int kRedo = 40012;
inline constexpr int kCut = 40013;
inline constexpr int kCopy = 40014;
inline constexpr int kPaste = 40015;
inline constexpr int kDelete = 40016;
inline constexpr int kSelectAll = 40017;
inline constexpr int kSelectNone = 40018;
inline constexpr int kExportSelection = 40020;
inline constexpr int kSmooth = 40021;
inline constexpr int kZoom = 40022;
inline constexpr int kFirstView = 40023;  // Front; the six views follow in preset order
inline constexpr int kLastView = 40028;
inline constexpr int kSelectMode = 40031;  // as key B
inline constexpr int kCellMode = 40032;    // as key N
inline constexpr int kBackgroundColour = 40037;
inline constexpr int kHelp = 40041;
inline constexpr int kAbout = 40042;
inline constexpr int kPressureInput = 40051;
inline constexpr int kFirstUndoSteps = 40052;  // 20, 100 and 1000 undo steps
inline constexpr int kLastUndoSteps = 40054;
inline constexpr int kFlipX = 40071;  // Y and Z follow
inline constexpr int kTurnX = 40074;  // Y and Z follow
inline constexpr int kCentre = 40077;
inline constexpr int kMovePlusX = 40081;  // then -X, +Y, -Y, +Z, -Z
inline constexpr int kMoveMinusZ = 40086;
inline constexpr int kMirrorX = 40061;  // Y and Z follow
inline constexpr int kMirrorZ = 40063;
inline constexpr int kMirrorToCursor = 40064;
inline constexpr int kMirrorToMiddle = 40065;
inline constexpr int kCutAway = 40101;       // then Cut deeper, Cut back, Only the cut layer,
inline constexpr int kCutDeeper = 40102;     // Cut along X, Y and Z, Keep the other side
inline constexpr int kCutBack = 40103;
inline constexpr int kCutLayerOnly = 40104;
inline constexpr int kCutAlongX = 40105;     // Y and Z follow
inline constexpr int kCutOtherSide = 40108;
inline constexpr int kFrameModel = 40111;
inline constexpr int kFrameSelection = 40112;
inline constexpr int kResetCamera = 40113;
inline constexpr int kReferencePicture = 40114;
inline constexpr int kHideReference = 40115;
inline constexpr int kFloorGrid = 40116;
inline constexpr int kOrthographic = 40133;
inline constexpr int kFill = 40121;  // the shapes in the selection: Fill, ellipsoid, cylinder, Paint, Hollow
inline constexpr int kFillEllipsoid = 40122;
inline constexpr int kFillCylinder = 40123;
inline constexpr int kPaintSelection = 40124;
inline constexpr int kHollow = 40125;
inline constexpr int kFillConnected = 40126;
inline constexpr int kEmptyEllipsoid = 40129;  // the shapes of 40122 and 40123, emptied
inline constexpr int kEmptyCylinder = 40130;
inline constexpr int kSelectBox = 40019;  // the box typed in a dialog
inline constexpr int kMirrorToModelCentre = 40066;
inline constexpr int kImportPalette = 40127;
inline constexpr int kExportPalettes = 40128;
inline constexpr int kAmbientOcclusion = 40131;  // View: then Cell edges
inline constexpr int kCellEdges = 40132;
inline constexpr int kCheckForPrinting = 40078;  // Model: the findings list, then Delete floating parts
inline constexpr int kDeleteFloatingParts = 40079;
inline constexpr int kOpenRecent = 40090;   // the submenu, not a command
inline constexpr int kFirstRecent = 40091;  // Open recent's entries, newest first
inline constexpr int kRecentCount = 8;
}  // namespace command

// Whether `id` is a command some menu sends: an item of the menu table or an
// Open recent entry.
bool isMenuCommand(int id);

struct MenuItem {
    int command;  // 0: a separator
    const char* english;
    const char* japanese;
    const char* shortcut = nullptr;  // shown beside the text; the key table runs it
    const char* text(Language language) const { return language == Language::Japanese ? japanese : english; }
};

struct MenuPopup {
    const char* english;
    const char* japanese;
    std::span<const MenuItem> items;
    const char* text(Language language) const { return language == Language::Japanese ? japanese : english; }
};

// A menu item's text without its access key or a closing ellipsis, as the
// status bar names the command: "Fill an ellipsoid".
std::string commandName(int command, Language language);

// The menu bar, left to right. Texts mark their access key with "&".
std::span<const MenuPopup> menuBar();

}  // namespace cubrik
