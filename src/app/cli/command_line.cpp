#include "app/cli/command_line.h"

#include <charconv>
#include <iostream>
#include <ostream>
#include <string_view>

#include "app/cli/command_line_name.h"
#include "app/cli/file_conversion.h"
#include "app/cli/print_check_command.h"
#include "app/cli/render_command.h"
#include "app/cli/turntable_command.h"
#include "app/state/message.h"
#include "app/session/replay.h"
#include "app/state/version.h"
#include "formats/animation/animation_encoder.h"
#include "formats/file_format.h"
#include "formats/import/mesh_reader.h"
#include "formats/picture_cells.h"
#include "render/camera.h"

namespace cubrik {
namespace {

constexpr const char* kViewNames[] = {"front", "back", "left", "right", "top", "bottom"};

bool parseInt(const std::string& text, int& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool parseWidthAndHeight(const std::string& text, int& width, int& height, std::string& error) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos || !parseInt(text.substr(0, x), width) || !parseInt(text.substr(x + 1), height)) {
        error = "--size takes WIDTHxHEIGHT, for example 800x600, not " + text;
        return false;
    }
    return true;
}

// The client area of --size: wide enough for the tool panel and some view.
bool parseSize(const std::string& text, int& width, int& height, std::string& error) {
    if (!parseWidthAndHeight(text, width, height, error)) return false;
    if (width > kMaxClientSize || height > kMaxClientSize) {
        error = "--size " + text + " is too large: at most " + std::to_string(kMaxClientSize) +
                " pixels each way, so that a render stays under 1 GB of memory";
        return false;
    }
    if (width <= kViewLeft || height <= 0) {
        error = "--size " + text + " leaves no room for the view: the width must be over " +
                std::to_string(kViewLeft) + " (the tool panel) and the height over 0";
        return false;
    }
    return true;
}

std::string unknownOption(const std::string& option) { return "unknown option " + option + "; see cubrik --help"; }

// "RRGGBB" to the 0x00BBGGRR colour value the renderer takes.
bool parseBackground(const std::string& text, std::uint32_t& colour) {
    std::uint32_t rgb = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), rgb, 16);
    if (text.size() != 6 || result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
    colour = ((rgb >> 16) & 0xff) | (rgb & 0xff00) | ((rgb & 0xff) << 16);
    return true;
}

// MM of --scale and --min-wall: 0.001 to 1000 millimetres. `meaning` says
// what the option takes: "--scale takes the millimetres of one cell".
bool parseMillimetres(const std::string& meaning, const std::string& text, double& millimetres, std::string& error) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), millimetres);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !(millimetres >= 0.001) ||
        !(millimetres <= 1000)) {
        error = meaning + ", 0.001 to 1000, for example 2.5, not " + text;
        return false;
    }
    return true;
}

const std::string kScaleMeaning = "--scale takes the millimetres of one cell";

// --scale MM: the edge of a cell in millimetres, for exports measured in them.
bool parseScale(const std::string& text, const std::string& outputPath, double& millimetres, std::string& error) {
    const FileFormat* format = formatOf(outputPath);
    if (format == nullptr || !format->inMillimetres) {
        error = "--scale sets the size of a cell in " +
                extensionList([](const FileFormat& f) { return f.inMillimetres; }, ", ", " or ") +
                " exports, not in " + outputPath;
        return false;
    }
    return parseMillimetres(kScaleMeaning, text, millimetres, error);
}

// The options after the model of --check: --scale MM and --min-wall MM.
bool parseCheckOptions(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option != "--scale" && option != "--min-wall") {
            error = unknownOption(option);
            return false;
        }
        if (i + 1 == args.size()) {
            error = option + " needs a value; see cubrik --help";
            return false;
        }
        const bool scale = option == "--scale";
        if (!parseMillimetres(scale ? kScaleMeaning : "--min-wall takes the thinnest wall in millimetres", args[++i],
                              scale ? out.cellMillimetres : out.minWallMillimetres, error))
            return false;
    }
    return true;
}

// --thickness K: how many cells deep a picture input becomes.
bool parseThickness(const std::string& text, const std::string& inputPath, int& thickness, std::string& error) {
    if (!isCellPicture(inputPath)) {
        error = "--thickness is for a picture input (.png, .jpg or .jpeg), not " + inputPath;
        return false;
    }
    if (!parseInt(text, thickness) || thickness < 1 || thickness > kMaxPictureThickness) {
        error = "--thickness takes a number of cells from 1 to " + std::to_string(kMaxPictureThickness) + ", not " +
                text;
        return false;
    }
    return true;
}

// --split-colours: only for the formats that write a part per colour.
bool acceptsColourParts(const std::string& outputPath, std::string& error) {
    const FileFormat* format = formatOf(outputPath);
    if (format != nullptr && format->writeColourParts != nullptr) return true;
    error = "--split-colours writes a part per colour in " +
            extensionList([](const FileFormat& f) { return f.writeColourParts != nullptr; }, ", ", " or ") +
            " exports, not in " + outputPath;
    return false;
}

// "z<=49", "z>=50" or "z=49": the cut-away of --cut.
bool parseCut(const std::string& text, CutAway& cut) {
    const std::size_t axis = std::string_view("xyz").find(text.empty() ? '?' : text[0]);
    if (axis == std::string_view::npos) return false;
    const std::string_view rest = std::string_view(text).substr(1);
    std::string_view number;
    for (const std::string_view op : {"<=", ">=", "="})
        if (rest.substr(0, op.size()) == op) {
            number = rest.substr(op.size());
            cut.keepLow = op != ">=";
            cut.layerOnly = op == "=";
            break;
        }
    int plane = -1;
    if (number.empty() || !parseInt(std::string(number), plane) || plane < 0 || plane >= kGridSize) return false;
    cut.on = true;
    cut.axis = static_cast<int>(axis);
    cut.plane = plane;
    return true;
}

// --sun AZ,EL: the sun's azimuth and elevation in degrees.
bool parseSun(const std::string& text, double& azimuth, double& elevation) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    const char* end = text.data() + text.size();
    const auto az = std::from_chars(text.data(), text.data() + comma, azimuth);
    const auto el = std::from_chars(text.data() + comma + 1, end, elevation);
    return az.ec == std::errc() && az.ptr == text.data() + comma && el.ec == std::errc() && el.ptr == end &&
           azimuth >= -360.0 && azimuth <= 360.0 && elevation >= 0.0 && elevation <= 90.0;
}

// The options only a path-traced render takes, and those it cannot.
bool parsePathTraceOption(const std::vector<std::string>& args, std::size_t& i, CommandLine& out, std::string& error) {
    const std::string& option = args[i];
    if (option == "--path-traced") {
        out.pathTraced = true;
    } else if (option == "--floor") {
        out.trace.floor = true;
    } else if (option == "--samples") {
        if (!parseInt(args[++i], out.trace.samples) || out.trace.samples < kMinTraceSamples ||
            out.trace.samples > kMaxTraceSamples) {
            error = "--samples takes the samples per pixel, " + std::to_string(kMinTraceSamples) + " to " +
                    std::to_string(kMaxTraceSamples) + ", not " + args[i];
            return false;
        }
    } else if (option == "--seed") {
        const std::string& text = args[++i];
        const auto result = std::from_chars(text.data(), text.data() + text.size(), out.trace.seed);
        if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
            error = "--seed takes a whole number from 0 to 18446744073709551615, not " + text;
            return false;
        }
    } else if (option == "--sun") {
        if (!parseSun(args[++i], out.trace.sunAzimuth, out.trace.sunElevation)) {
            error = "--sun takes AZIMUTH,ELEVATION in degrees (azimuth -360 to 360, elevation 0 to 90), "
                    "for example 35,45, not " + args[i];
            return false;
        }
    }
    return true;
}

// --cells N and --surface, which only a mesh input takes; `i` moves past the value.
bool parseMeshImport(const std::vector<std::string>& args, std::size_t& i, CommandLine& out, std::string& error) {
    if (!isMeshFile(out.modelPath)) {
        error = args[i] + " applies to a mesh input (" + meshExtensionList(", ", " or ") + "), not " + out.modelPath;
        return false;
    }
    if (args[i] == "--surface") {
        out.meshImport.surface = true;
        return true;
    }
    const std::string& text = args[++i];
    if (!parseInt(text, out.meshImport.cells) || out.meshImport.cells < 1 || out.meshImport.cells > kGridSize) {
        error = "--cells takes the cells the mesh's longest side spans, 1 to 100, not " + text;
        return false;
    }
    return true;
}

bool isPathTraceOption(const std::string& option) {
    return option == "--path-traced" || option == "--samples" || option == "--seed" || option == "--sun" ||
           option == "--floor";
}

// The path tracer's options need it, and it has no use for those of the GL drawing.
bool checkPathTraceOptions(const std::vector<std::string>& args, const CommandLine& out, std::string& error) {
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (!out.pathTraced && isPathTraceOption(option)) {
            error = option + " works only with --path-traced";
            return false;
        }
        if (out.pathTraced && (option == "--ao" || option == "--edges")) {
            error = option + " does not apply to --path-traced";
            return false;
        }
    }
    return true;
}

// The options after the two paths of --export, --render and --turntable.
bool parseOptions(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    const bool turntable = out.mode == CommandLine::Mode::Turntable;
    const bool render = out.mode == CommandLine::Mode::Render || turntable;
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool hasValue = i + 1 < args.size();
        const bool takesValue = render ? option == "--view" || option == "--size" || option == "--background" ||
                                             option == "--cut" || option == "--samples" || option == "--seed" ||
                                             option == "--sun" || option == "--frames"
                                       : option == "--scale" || option == "--thickness" || option == "--cells";
        if (takesValue && !hasValue) {
            error = option + " needs a value; see cubrik --help";
            return false;
        }
        if (option == "--flat") {
            out.flat = true;
        } else if (!render && option == "--scale" && hasValue) {
            if (!parseScale(args[++i], out.outputPath, out.cellMillimetres, error)) return false;
        } else if (render && isPathTraceOption(option)) {
            if (!parsePathTraceOption(args, i, out, error)) return false;
        } else if (!render && (option == "--cells" || option == "--surface")) {
            if (!parseMeshImport(args, i, out, error)) return false;
        } else if (!render && option == "--thickness" && hasValue) {
            if (!parseThickness(args[++i], out.modelPath, out.pictureThickness, error)) return false;
        } else if (!render && option == "--split-colours") {
            if (!acceptsColourParts(out.outputPath, error)) return false;
            out.colourParts = true;
        } else if (render && option == "--zoom") {
            out.zoomed = true;
        } else if (render && option == "--ao") {
            out.occlusion = true;
        } else if (render && option == "--edges") {
            out.cellEdges = true;
        } else if (render && option == "--ortho") {
            out.orthographic = true;
        } else if (turntable && option == "--frames" && hasValue) {
            if (!parseInt(args[++i], out.frames) || out.frames < 1 || out.frames > kMaxTurntableFrames) {
                error = "--frames takes a number of frames, 1 to " + std::to_string(kMaxTurntableFrames) + ", not " +
                        args[i];
                return false;
            }
        } else if (turntable && option == "--size" && hasValue) {
            if (!parseWidthAndHeight(args[++i], out.width, out.height, error)) return false;
            TurntableSettings frameSize;
            frameSize.width = out.width;
            frameSize.height = out.height;
            if (const std::string problem = turntableSettingsProblem(frameSize); !problem.empty()) {
                error = "--size " + args[i] + ": " + problem;
                return false;
            }
        } else if (render && !turntable && option == "--view" && hasValue) {
            const std::string& name = args[++i];
            out.view = -1;
            for (int v = 0; v < 6; ++v)
                if (name == kViewNames[v]) out.view = v;
            if (out.view < 0) {
                error = "--view takes front, back, left, right, top or bottom, not " + name;
                return false;
            }
        } else if (render && option == "--size" && hasValue) {
            if (!parseSize(args[++i], out.width, out.height, error)) return false;
        } else if (render && option == "--cut" && hasValue) {
            if (!parseCut(args[++i], out.cut)) {
                error = "--cut takes x, y or z, then <=, >= or =, then a layer 0..99, for example z<=49, not " + args[i];
                return false;
            }
        } else if (render && option == "--background" && hasValue) {
            if (!parseBackground(args[++i], out.backgroundColor)) {
                error = "--background takes a colour RRGGBB, for example 8080ff, not " + args[i];
                return false;
            }
        } else {
            error = unknownOption(option);
            return false;
        }
    }
    return !render || checkPathTraceOptions(args, out, error);
}

}  // namespace

std::string usageText() {
    // Every format of a kind, as the command line names them: "IN.cbk|IN.vox".
    const auto names = [](std::string_view role, bool (*wanted)(const FileFormat&)) {
        std::string list;
        for (const FileFormat& format : fileFormats())
            if (wanted(format)) list.append(list.empty() ? "" : "|").append(role).append(".").append(format.extension);
        return list;
    };
    // The mesh files --export voxelizes: "MESH.obj|.stl|...".
    const std::string meshInputs = "MESH" + meshExtensionList("|", "|");
    return "Usage:\n"
           "  cubrik [" + names("FILE", isReadable) + "]\n"
           "      open the modeller, with FILE if given\n"
           "  cubrik --export " + names("IN", isReadable) + " " + names("OUT", isWritableModel) + " [--flat]\n"
           "         [--scale MM] [--split-colours]\n"
           "      write the model again, or export it as a mesh (smoothed unless --flat);\n"
           "      STL is in millimetres, one cell 1 mm wide unless --scale gives its size\n"
           "      (0.001 to 1000)\n"
           "      3MF is in millimetres as well, with a material per colour; --split-colours\n"
           "      writes a part per colour used, each closed: 3MF objects named A01, B03, ...,\n"
           "      or STL files OUT-A01.stl, OUT-B03.stl, ...\n"
           "  cubrik --export IN.png|IN.jpg|IN.jpeg " + names("OUT", isWritableModel) + " [--thickness K]\n"
           "      make a model of a picture, a cell per pixel facing the front view, K cells\n"
           "      deep (1 to 100, default 1), in the nearest palette colours; transparent\n"
           "      pixels stay empty and a picture over 100 pixels either way is scaled to fit\n"
           "  cubrik --export " + meshInputs + " " + names("OUT", isWritableModel) + "\n"
           "         [--cells N] [--surface] [--flat] [--scale MM]\n"
           "      voxelize a mesh, scaled so its longest side spans N cells (1 to 100, default\n"
           "      100) and centred: the cells whose centres lie inside it, or with --surface\n"
           "      (and for a mesh that is not closed) the cells its surface passes through,\n"
           "      each in the default palette colour nearest to the mesh's colour there\n"
           "  cubrik --render IN.cbk " + names("OUT", isImage) + " [--view front|back|left|right|top|bottom]\n"
           "         [--size WxH] [--zoom] [--flat] [--background RRGGBB] [--cut x|y|z<=K|>=K|=K]\n"
           "         [--ortho] [--ao] [--edges]\n"
           "      write the view of a window of W x H (default 800x600, at most " + std::to_string(kMaxClientSize) +
           " each way)\n"
           "      as a TARGA or PNG image; --cut shows only the cells up to, from or at layer K\n"
           "      along an axis; --ortho draws it in the parallel projection of\n"
           "      View > Orthographic; --ao darkens corners by the cells round them (ambient\n"
           "      occlusion), --edges outlines each cell's faces (with --flat)\n"
           "  cubrik --render IN.cbk " + names("OUT", isImage) + " --path-traced [--samples N] [--seed S]\n"
           "         [--sun AZ,EL] [--floor] [--view ...] [--size WxH] [--zoom] [--ortho]\n"
           "         [--background RRGGBB] [--cut ...]\n"
           "      path-trace the whole view, background included: sun and sky light, soft\n"
           "      shadows, bounced light; N samples per pixel, 1 to 65536 (default 256);\n"
           "      a seed S gives the same picture every time; the sun AZ degrees right of\n"
           "      behind you (-360 to 360) and EL up (0 to 90), default 35,45; --floor puts\n"
           "      a floor under the model; a progress bar on a terminal, Ctrl+C stops it\n"
           "  cubrik --turntable IN.cbk OUT.gif|OUT.mp4|OUT.webp [--frames N] [--size WxH]\n"
           "         [--zoom] [--flat] [--background RRGGBB] [--cut x|y|z<=K|>=K|=K] [--ortho]\n"
           "         [--ao] [--edges] [--path-traced [--samples N] [--seed S] [--sun AZ,EL] [--floor]]\n"
           "      write the model turning a full circle about the vertical axis, from the\n"
           "      front view, as an animation of N frames (default 36, at most 3600) of\n"
           "      W x H pixels (default 400x400) at 30 frames a second; the options draw the\n"
           "      frames as they draw --render's image; --path-traced takes 64 samples unless\n"
           "      --samples says\n"
           "  cubrik --check " + names("IN", isReadable) + " [--scale MM] [--min-wall MM]\n"
           "      check the model for printing: its parts, parts that float above the\n"
           "      lowest layer, walls thinner than --min-wall (default 0.8 mm, one cell\n"
           "      --scale mm wide, default 1), overhangs and its size, one fact a line;\n"
           "      exit status 0 when nothing was found, 3 when something was\n"
           "  cubrik --replay SESSION.txt [--state DIR] [FILE.cbk]\n"
           "      run a recorded or written session without a window; with --state, DIR stands\n"
           "      for the per-user state folder, where recovery copies are kept and found\n"
           "  cubrik --record SESSION.txt [--state DIR] [FILE.cbk]\n"
           "      open the modeller and write every window message to SESSION.txt\n"
           "  cubrik --help | -h | --version\n";
}

int parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    out = CommandLine{};
    if (args.empty()) return 1;
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        out.mode = CommandLine::Mode::Help;
        return 1;
    }
    if (first == "--version") {
        out.mode = CommandLine::Mode::Version;
        return 1;
    }
    if (first == "--export" || first == "--render" || first == "--turntable") {
        out.mode = first == "--export"   ? CommandLine::Mode::Export
                   : first == "--render" ? CommandLine::Mode::Render
                                         : CommandLine::Mode::Turntable;
        if (args.size() < 3 || args[1].rfind("--", 0) == 0 || args[2].rfind("--", 0) == 0) {
            error = first + " takes an input model and an output file (see --help)";
            return 0;
        }
        out.modelPath = args[1];
        out.outputPath = args[2];
        if (out.mode == CommandLine::Mode::Turntable) {
            const TurntableSettings defaults;
            out.width = defaults.width;
            out.height = defaults.height;
            out.trace.samples = defaults.samples;
            if (!animationFormatOf(out.outputPath)) {
                error = out.outputPath + ": unknown animation type (use " + kAnimationFormatList + ")";
                return 0;
            }
        }
        return parseOptions(args, out, error) ? 1 : 0;
    }
    if (first == "--check") {
        out.mode = CommandLine::Mode::Check;
        if (args.size() < 2 || args[1].rfind("--", 0) == 0) {
            error = "--check takes a model (see --help)";
            return 0;
        }
        out.modelPath = args[1];
        return parseCheckOptions(args, out, error) ? 1 : 0;
    }
    if (first == "--replay" || first == "--record") {
        out.mode = first == "--replay" ? CommandLine::Mode::Replay : CommandLine::Mode::OpenWindow;
        bool ok = args.size() >= 2 && args[1].rfind("--", 0) != 0;
        bool modelGiven = false, stateGiven = false;
        for (std::size_t i = 2; ok && i < args.size(); ++i) {
            if (args[i] == "--state" && i + 1 < args.size() && !stateGiven && !args[i + 1].empty()) {
                out.stateFolder = args[++i];
                stateGiven = true;
            } else if (args[i].rfind("--", 0) != 0 && !modelGiven) {
                out.modelPath = args[i];
                modelGiven = true;
            } else {
                ok = false;
            }
        }
        if (!ok) {
            error = first + " takes a session file, an optional --state DIR and an optional model (see --help)";
            return 0;
        }
        out.sessionPath = args[1];
        return 1;
    }
    // "-" alone stays a name; anything else with a dash in front was meant as an option.
    if (first.size() > 1 && first[0] == '-') {
        error = unknownOption(first);
        return 0;
    }
    out.modelPath = commandLineFileName(commandLineOf(args));
    return 1;
}

int runHeadless(const CommandLine& command, std::ostream& out, std::ostream& err) {
    std::string reason;
    switch (command.mode) {
    case CommandLine::Mode::Help: out << usageText(); return 0;
    case CommandLine::Mode::Version: out << kVersionLine << '\n'; return 0;
    case CommandLine::Mode::Export:
        if (convertModelFile(command.modelPath, command.outputPath,
                             {command.flat, command.cellMillimetres, command.colourParts, command.pictureThickness,
                              command.meshImport},
                             reason))
            return 0;
        break;
    case CommandLine::Mode::Render:
        if (renderModelImage(command, reason)) return 0;
        break;
    case CommandLine::Mode::Turntable:
        if (renderTurntable(command, reason)) return 0;
        break;
    case CommandLine::Mode::Check: return runPrintCheck(command, out, err);
    case CommandLine::Mode::Replay:
        if (runReplay(ReplayOptions{command.sessionPath, command.modelPath, command.stateFolder, true}, reason))
            return 0;
        break;
    case CommandLine::Mode::OpenWindow: reason = "no window can be opened here"; break;
    }
    err << "cubrik: " << reason << '\n';
    return 1;
}

int runCommandLine(int argc, char** argv, CommandLine& out) {
    std::string error;
    if (!parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), out, error)) {
        std::cerr << "cubrik: " << error << '\n';
        return 1;
    }
    return out.mode == CommandLine::Mode::OpenWindow ? -1 : runHeadless(out, std::cout, std::cerr);
}

}  // namespace cubrik
