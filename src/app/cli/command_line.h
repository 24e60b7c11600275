#pragma once
// The program's command line: the modeller with an optional model file, and
// the headless modes that share the file code with the window.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/commands/turntable_export.h"
#include "edit/print_check.h"
#include "formats/import/voxelize.h"
#include "model/cut_away.h"
#include "trace/path_tracer.h"

namespace cubrik {


struct CommandLine {
    enum class Mode { OpenWindow, Export, Render, Turntable, Check, Replay, Help, Version };
    Mode mode = Mode::OpenWindow;
    std::string modelPath;   // the model to open, convert or render; may be empty
    std::string outputPath;  // what --export, --render or --turntable writes
    std::string sessionPath; // what --replay reads or --record writes
    std::string stateFolder; // --state: stands for the per-user state folder
    bool flat = false;       // cubes instead of the smoothed surface
    double cellMillimetres = 1.0;  // --scale: the edge of a cell in a mesh measured in millimetres
    VoxelizeOptions meshImport{};  // --cells, --surface: how --export brings a mesh file in
    int pictureThickness = 1;      // --thickness: the cells a picture input is deep
    double minWallMillimetres = kDefaultMinWallMillimetres;  // --check --min-wall: thinner walls are reported
    bool colourParts = false;      // --split-colours: a part per colour, for the formats that print
    // --render, and --turntable but for the view:
    int view = 0;            // preset view 0..5: front, back, left, right, top, bottom
    int width = 800;         // client area of the window whose view is rendered;
    int height = 600;        // --turntable: each frame's size, 400 x 400 unless given
    bool zoomed = false;
    bool occlusion = false;  // --ao
    bool cellEdges = false;  // --edges
    bool orthographic = false;  // --ortho: the parallel projection
    std::uint32_t backgroundColor = 0xff8080;  // 0x00BBGGRR: red 128, green 128, blue 255
    CutAway cut{};           // --cut: the cells in view
    int frames = kDefaultTurntableFrames;  // --turntable --frames
    bool pathTraced = false;    // --path-traced: the whole view, path-traced, instead of the cropped GL image
    TraceSettings trace{};      // --samples, --seed, --sun and --floor; the background comes from backgroundColor
};

// Returns 1 with `out` filled, or 0 with `error` saying what is wrong.
int parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

// Runs a headless mode and returns the process exit status: 0 on success,
// 1 with one line on `err` otherwise; --check gives 3 when it found something.
int runHeadless(const CommandLine& command, std::ostream& out, std::ostream& err);

// main()'s start: the arguments parsed and a headless mode run. Returns the
// exit status, or -1 when the window is wanted (`out` then says how).
int runCommandLine(int argc, char** argv, CommandLine& out);

// The usage text of --help.
std::string usageText();

}  // namespace cubrik
