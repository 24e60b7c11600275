// Replays seeded random sessions: every message kind, pointers outside the
// window and over the panel, odd and zero sizes, dialogs answered wrongly or
// not at all, pen packets with impossible calibrations, the extremes of every
// number, clipboard texts right and wrong, waits, crashes and the recovery
// copies they leave. Each must run to its end (or its crash), save a model
// that reads back, and leave copies that read back; a session given a number
// out of range must stop at that line. Meant for the sanitizer build.
// Usage: cubrik_random_sessions [--seconds N] [--seed S]
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>

#include "app/state/message.h"
#include "app/state/recovery.h"
#include "app/session/replay.h"
#include "io/percent_encoding.h"
#include "model/model_file.h"
#include "support/model_builders.h"

namespace {

using namespace cubrik;

class SessionWriter {
public:
    SessionWriter(std::uint32_t seed, const std::filesystem::path& dir) : random_(seed), dir_(dir) {}

    // Some sessions begin with answers, for the recovery copies earlier ones
    // left in the state folder, and some crash part of the way.
    std::string session(int lines) {
        std::string text;
        if (chance(20)) text += "setting autosaveSeconds=" + std::to_string(pick(0, 5)) + "\n";
        while (chance(40)) text += answer();
        text += "size " + std::to_string(width_) + " " + std::to_string(height_) + "\npaint\n";
        const int crashAt = chance(25) ? pick(0, lines - 1) : -1;
        const int badAt = chance(5) ? pick(0, lines - 1) : -1;
        for (int i = 0; i < lines; ++i) {
            if (i == badAt) {
                badLine_ = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
                text += outOfRange();
            }
            text += i == crashAt ? "crash\n" : line();
        }
        return text + "save " + (dir_ / "end.cbk").string() + "\n";
    }

    int badLine() const { return badLine_; }  // 0: none

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    std::string point() {
        if (chance(5)) return extreme(-kMaxPointerOffset, kMaxPointerOffset) + " " +
                              extreme(-kMaxPointerOffset, kMaxPointerOffset) + "\n";
        const int x = chance(20) ? pick(0, 63) : pick(-50, width_ + 50);  // the panel, the view, outside
        return std::to_string(x) + " " + std::to_string(pick(-50, height_ + 50)) + "\n";
    }

    // One end of a range, or 0.
    std::string extreme(long long low, long long high) {
        const long long ends[] = {low, high, 0};
        return std::to_string(ends[pick(0, 2)]);
    }

    std::string outOfRange() {
        static const char* kLines[] = {"ldown 2147483647 2147483647", "move -2147483648 0", "lup 0 100001",
                                       "size 6145 600", "size 800 -1", "tablet 4294967296 0 0 0 0 0",
                                       "wheel 2147483648"};
        return std::string(kLines[pick(0, 6)]) + "\n";
    }

    std::string int32() { return extreme(-2147483648LL, 2147483647LL); }
    std::string uint32() { return extreme(0, 4294967295LL); }

    // Cells another window copied, or text that only looks like it.
    std::string clipboard() {
        std::string numbers[6];
        for (std::string& n : numbers) n = chance(30) ? int32() : std::to_string(pick(0, 3) == 0 ? 99 : pick(0, 5));
        std::string text = "cubrik cells 1\nfrom " + numbers[0] + " " + numbers[1] + " " + numbers[2] + "\nsize " +
                           numbers[3] + " " + numbers[4] + " " + numbers[5] + "\n";
        const int rows = pick(0, 30);
        for (int row = 0; row < rows; ++row) text += chance(90) ? "0503\n" : "zz\n";
        return "clipboard " + percentEncode(text) + "\nkey ctrl+v\n";
    }

    std::string answer() {
        switch (pick(0, 7)) {
        case 0: return "answer yes\n";
        case 1: return "answer no\n";
        case 2: return "answer cancel\n";
        case 3: return "answer colour " + std::string(chance(50) ? "FF8000" : "000000") + "\n";
        case 4: return "answer file " + (dir_ / "no" / "such" / "folder" / "m.cbk").string() + "\n";
        case 5: return "answer file " + (dir_ / ("out" + std::to_string(pick(0, 3)) + ".cbk")).string() + "\n";
        case 6: {
            std::string box = "answer box";
            for (int i = 0; i < 6; ++i) box.append(" ").append(std::to_string(pick(0, 99)));
            return box + "\n";
        }
        default:
            static const char* kOthers[] = {"view.tga", "mesh.obj", "colours.gpl", "colours.hex"};
            return "answer file " + (dir_ / kOthers[pick(0, 3)]).string() + "\n";
        }
    }

    std::string line() {
        static const char* kKeys[] = {"Q", "A", "W", "S", "E", "D", "R", "F", "T", "G", "H", "Y", "Z", "X", "C",
                                      "V", "1", "2", "3", "4", "5", "6", "space", "keypad5", "ctrl+z", "ctrl+y", "B",
                                      "N", "P", "U", "J", "K", "L", "home"};
        static const int kMenus[] = {40001, 40002, 40003, 40004, 40005, 40011, 40012, 40021, 40022, 40023, 40026,
                                     40028, 40037, 40041, 40042, 40051, 40092, 40017, 40121, 40122, 40123, 40124,
                                     40125, 40126, 40127, 40128, 40106, 40108, 40052, 40054, 40111, 40112, 40113,
                                     40114, 40115, 40116, 40019, 40129, 40130, 40066};
        static const char* kMouse[] = {"ldown", "lup", "ldbl", "rdown", "rup", "rdbl", "mdown", "move", "move", "move"};
        switch (pick(0, 12)) {
        case 0:
        case 1:
        case 2: return std::string(kMouse[pick(0, 9)]) + " " + point();
        case 3: return "paint\n";
        case 4: return std::string("key ") + kKeys[pick(0, static_cast<int>(std::size(kKeys)) - 1)] + "\n";
        case 5: return "menu " + std::to_string(kMenus[pick(0, static_cast<int>(std::size(kMenus)) - 1)]) + "\n";
        case 6: return "wheel " + (chance(10) ? int32() : std::to_string(pick(-2, 2) * 120)) + "\n";
        case 7: return answer();
        case 8: return (chance(50) ? "shift " : "ctrl ") + std::to_string(pick(0, 1)) + "\n";
        case 9:
            if (chance(20))
                return "tablet " + uint32() + " " + uint32() + " " + uint32() + " " + int32() + " " + int32() + " " +
                       int32() + "\n";
            return "tablet " + std::to_string(pick(0, 3)) + " " + std::to_string(pick(0, 7)) + " " +
                   std::to_string(pick(0, 5000)) + " " + std::to_string(pick(-100, 2000)) + " " +
                   std::to_string(pick(-100, 2000)) + " " + std::to_string(pick(-100, 3000)) + "\n";
        case 10:
            if (chance(70)) return "paint\n";
            width_ = chance(10) ? 0 : chance(3) ? kMaxClientSize : pick(1, 1200);
            height_ = chance(10) ? 0 : chance(3) && width_ < kMaxClientSize ? kMaxClientSize : pick(1, 900);
            return "size " + std::to_string(width_) + " " + std::to_string(height_) + "\n";
        case 11:
            if (chance(20)) return clipboard();
            return "wait " + std::to_string(pick(0, 40)) + (chance(50) ? ".5\n" : "\n");
        default:
            if (width_ == 0 || height_ == 0) return "paint\n";
            return "paint\ngrab " + (dir_ / "grab.tga").string() + "\n";
        }
    }

    std::mt19937 random_;
    std::filesystem::path dir_;
    int width_ = 800, height_ = 600;
    int badLine_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    double seconds = 20;
    std::uint32_t seed = std::random_device{}();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--seconds") seconds = std::atof(argv[i + 1]);
        if (option == "--seed") seed = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
    }
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("cubrik-random-" + std::to_string(seed));
    std::filesystem::create_directories(dir);
    ModelStore start = testing::makeStore();
    testing::fillSphere(*start.model, 30);
    const std::string startPath = (dir / "start.cbk").string();
    std::string reason;
    if (!writeModelFile(startPath, *start.model, reason)) {
        std::cerr << reason << '\n';
        return 1;
    }
    // Kept from one session to the next, so later sessions find earlier ones' copies.
    const std::filesystem::path state = dir / "state";
    std::error_code ignored;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int runs = 0, crashes = 0, copiesSeen = 0;
    for (std::uint32_t session = seed; std::chrono::steady_clock::now() < end; ++session, ++runs) {
        const std::filesystem::path file = dir / "session.txt";
        SessionWriter writer(session, dir);
        std::ofstream(file) << writer.session(120);
        std::filesystem::remove(dir / "end.cbk");
        ModelStore saved = testing::makeStore();
        const int result = runReplay(ReplayOptions{file.string(), startPath, state.string(), false}, reason);
        // After a crash there is no end.cbk, but every recovery copy must read back.
        bool ok = result == kReplayCrashed || (result == 1 && readModelFile((dir / "end.cbk").string(), *saved.model, reason));
        if (writer.badLine() != 0)
            ok = result == 0 && reason.find(" line " + std::to_string(writer.badLine()) + ": ") != std::string::npos;
        for (const auto& entry : std::filesystem::directory_iterator(recoveryFolderOf(state), ignored))
            if (ok && entry.path().extension() == ".cbk") {
                ok = readModelFile(entry.path(), *saved.model, reason) == 1;
                ++copiesSeen;
            }
        crashes += result == kReplayCrashed;
        if (!ok) {
            std::cerr << "session " << session << " failed: " << reason << "\nkept in " << file << '\n';
            return 1;
        }
    }
    std::filesystem::remove_all(dir);
    std::cout << runs << " random sessions from seed " << seed << " ran to their end (" << crashes
              << " crashed; recovery copies found after them: " << copiesSeen << ")\n";
    return 0;
}
