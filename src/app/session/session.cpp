#include "app/session/session.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <vector>

#include "app/text/ui_text.h"
#include "io/percent_encoding.h"

namespace cubrik {
namespace {

struct MouseWord {
    const char* word;
    MessageType type;
};

constexpr MouseWord kMouseWords[] = {
    {"ldown", MessageType::LeftDown},   {"lup", MessageType::LeftUp},   {"ldbl", MessageType::LeftDoubleClick},
    {"rdown", MessageType::RightDown},  {"rup", MessageType::RightUp},  {"rdbl", MessageType::RightDoubleClick},
    {"mdown", MessageType::MiddleDown}, {"move", MessageType::MouseMove},
};

std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        std::size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
        if (end > at) words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

template <class Int>
bool parseNumber(std::string_view word, Int& value, int base = 10) {
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value, base);
    return result.ec == std::errc() && result.ptr == word.data() + word.size();
}

struct NamedKey {
    const char* name;
    int code;
};

constexpr NamedKey kNamedKeys[] = {
    {"space", key::kSpace}, {"escape", key::kEscape}, {"delete", key::kDelete}, {"left", key::kLeft},
    {"right", key::kRight}, {"up", key::kUp},         {"down", key::kDown},     {"pageup", key::kPageUp},
    {"pagedown", key::kPageDown}, {"f1", key::kF1},   {"home", key::kHome},
};

int letterCode(std::string_view name) {
    if (name.size() != 1) return 0;
    if (name[0] >= 'a' && name[0] <= 'z') return name[0] - 'a' + 'A';
    return name[0] >= 'A' && name[0] <= 'Z' ? name[0] : 0;
}

// The key table's code of a key name, or 0. A shortcut is "ctrl+" or
// "ctrl+shift+" and a letter.
int keyCodeOf(std::string_view name, bool& ctrl) {
    ctrl = false;
    for (const auto& [prefix, bits] : {std::pair{std::string_view("ctrl+shift+"), key::kCtrl | key::kShift},
                                       std::pair{std::string_view("ctrl+"), key::kCtrl}}) {
        if (name.substr(0, prefix.size()) != prefix) continue;
        const int letter = letterCode(name.substr(prefix.size()));
        ctrl = letter != 0;
        return letter != 0 ? letter | bits : 0;
    }
    for (const NamedKey& named : kNamedKeys)
        if (name == named.name) return named.code;
    if (name.size() == 7 && name.substr(0, 6) == "keypad" && name[6] >= '0' && name[6] <= '9')
        return key::kKeypad0 + name[6] - '0';
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return name[0];
    return letterCode(name);
}

std::string keyNameOf(int code, bool ctrl) {
    const int letter = code & 0xff;
    if ((ctrl || (code & key::kCtrl)) && letter >= 'A' && letter <= 'Z')
        return std::string((code & key::kShift) ? "ctrl+shift+" : "ctrl+") + static_cast<char>(letter - 'A' + 'a');
    for (const NamedKey& named : kNamedKeys)
        if (code == named.code) return named.name;
    if (code >= key::kKeypad0 && code <= key::kKeypad0 + 9) return "keypad" + std::to_string(code - key::kKeypad0);
    return std::string(1, static_cast<char>(code));
}

// The rest of the line after its first word and one blank: a path may hold blanks.
std::string_view restOf(std::string_view line, std::string_view first) {
    const std::size_t start = line.find(first) + first.size();
    return start + 1 <= line.size() ? line.substr(start + 1) : std::string_view{};
}

// Built by appending: GCC 12 misreads "..." + std::string(...) + "..." as an overlapping copy.
std::string quoted(std::string_view word, std::string_view after) {
    std::string text = "\"";
    text.append(word).append("\"").append(after);
    return text;
}

// The pointer may leave the view, but not so far that arithmetic on it overflows.
bool parsePointer(const std::vector<std::string_view>& w, int& x, int& y) {
    const auto inReach = [](int v) { return v >= -kMaxPointerOffset && v <= kMaxPointerOffset; };
    return w.size() == 3 && parseNumber(w[1], x) && parseNumber(w[2], y) && inReach(x) && inReach(y);
}

const std::string kPointerRange = " the pointer's X and Y, each from " + std::to_string(-kMaxPointerOffset) +
                                  " to " + std::to_string(kMaxPointerOffset);

bool fail(std::string& error, const std::string& text) {
    error = text;
    return false;
}

bool parseMessage(const std::vector<std::string_view>& w, SessionLine& out, std::string& error) {
    const std::string_view word = w[0];
    Message& m = out.message;
    out.kind = SessionLine::Kind::Message;
    for (const MouseWord& mouse : kMouseWords) {
        if (word != mouse.word) continue;
        m.type = mouse.type;
        if (!parsePointer(w, m.x, m.y)) return fail(error, quoted(word, " takes" + kPointerRange));
        return true;
    }
    if (word == "size") {
        m.type = MessageType::Size;
        if (w.size() != 3 || !parseNumber(w[1], m.width) || !parseNumber(w[2], m.height) || m.width < 0 ||
            m.height < 0 || m.width > kMaxClientSize || m.height > kMaxClientSize)
            return fail(error, "\"size\" takes a width and a height from 0 to " + std::to_string(kMaxClientSize));
        return true;
    }
    if (word == "paint") {
        m.type = MessageType::Paint;
        return w.size() == 1 || fail(error, "\"paint\" takes nothing");
    }
    if (word == "key") {
        m.type = MessageType::KeyDown;
        if (w.size() != 2 || (m.key = keyCodeOf(w[1], out.ctrl)) == 0)
            return fail(error, "\"key\" takes a letter, a digit, space, escape, delete, left, right, up, down, pageup, "
                               "pagedown, f1, home, keypad0 to keypad9, ctrl+LETTER or ctrl+shift+LETTER");
        return true;
    }
    if (word == "menu") {
        m.type = MessageType::Command;
        if (w.size() != 2 || !parseNumber(w[1], m.command)) return fail(error, "\"menu\" takes a menu item number");
        return isMenuCommand(m.command) || fail(error, "no menu item has the number " + std::string(w[1]));
    }
    if (word == "finding") {
        m.type = MessageType::ChooseFinding;
        return (w.size() == 2 && parseNumber(w[1], m.row) && m.row >= 0) ||
               fail(error, "\"finding\" takes the number of a row of the findings list, 0 for the first");
    }
    if (word == "wheel") {
        m.type = MessageType::MouseWheel;
        return (w.size() == 2 && parseNumber(w[1], m.wheelDelta)) || fail(error, "\"wheel\" takes a signed delta");
    }
    return fail(error, "unknown message " + quoted(word, ""));
}

// "answer box X0 Y0 Z0 X1 Y1 Z1": two corner cells, in either order.
bool parseBoxAnswer(const std::vector<std::string_view>& w, SessionLine& out, std::string& error) {
    std::array<int, 3> corner[2];
    bool read = w.size() == 8;
    for (std::size_t i = 0; read && i < 6; ++i)
        read = parseNumber(w[2 + i], corner[i / 3][i % 3]) && corner[i / 3][i % 3] >= 0 &&
               corner[i / 3][i % 3] < kGridSize;
    if (!read) return fail(error, "\"answer box\" takes six cell coordinates from 0 to 99");
    out.answer = SessionLine::Answer::Box;
    out.box = boxSpanning(corner[0], corner[1]);
    return true;
}

// "answer mesh N solid|surface": Import mesh…'s cells and kind of fill.
bool parseMeshAnswer(const std::vector<std::string_view>& w, SessionLine& out, std::string& error) {
    int cells = 0;
    if (w.size() != 4 || !parseNumber(w[2], cells) || cells < 1 || cells > kGridSize ||
        (w[3] != "solid" && w[3] != "surface"))
        return fail(error, "\"answer mesh\" takes the cells 1 to 100, then solid or surface");
    out.answer = SessionLine::Answer::Mesh;
    out.mesh = {cells, w[3] == "surface"};
    return true;
}

bool parseAnswer(std::string_view line, const std::vector<std::string_view>& w, SessionLine& out, std::string& error) {
    out.kind = SessionLine::Kind::Answer;
    const std::string_view what = w.size() > 1 ? w[1] : std::string_view{};
    if (what == "file" && w.size() > 2) {
        out.answer = SessionLine::Answer::File;
        out.text = restOf(line, "file");
        return true;
    }
    if (w.size() == 2 && (what == "yes" || what == "no" || what == "cancel")) {
        out.answer = what == "yes" ? SessionLine::Answer::Yes
                     : what == "no" ? SessionLine::Answer::No
                                    : SessionLine::Answer::Cancel;
        return true;
    }
    std::uint32_t rgb = 0;
    if (what == "colour" && w.size() == 3 && w[2].size() == 6 && parseNumber(w[2], rgb, 16)) {
        out.answer = SessionLine::Answer::Colour;
        out.colour = ((rgb >> 16) & 0xff) | (rgb & 0xff00) | ((rgb & 0xff) << 16);
        return true;
    }
    if (what == "box") return parseBoxAnswer(w, out, error);
    if (what == "mesh") return parseMeshAnswer(w, out, error);
    if (what == "number") {
        out.answer = SessionLine::Answer::Number;
        return (w.size() == 3 && parseNumber(w[2], out.number)) || fail(error, "\"answer number\" takes a whole number");
    }
    return fail(error, "\"answer\" takes file PATH, yes, no, cancel or colour RRGGBB");
}

// Digits, optionally a point and more digits: no sign, exponent or blank, so
// a line means one thing wherever it is read.
bool parseSeconds(std::string_view word, double& seconds) {
    const std::size_t point = word.find('.');
    const std::string_view whole = word.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : word.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return !part.empty() && part.size() <= 9 &&
               part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(whole) || (point != std::string_view::npos && !digits(fraction))) return false;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), seconds);
    return result.ec == std::errc() && result.ptr == word.data() + word.size();
}

}  // namespace

bool setsPointer(MessageType type) {
    for (const MouseWord& mouse : kMouseWords)
        if (type == mouse.type) return true;
    return type == MessageType::DropFile;
}

int parseSessionLine(std::string_view line, SessionLine& out, std::string& error) {
    out = SessionLine{};
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // CR LF files, however mangled
    const std::vector<std::string_view> w = wordsOf(line);
    if (w.empty() || w[0][0] == '#') return 1;
    const std::string_view word = w[0];
    if (word == "shift" || word == "ctrl") {
        const bool down = w.size() == 2 && w[1] == "1";
        out.kind = word == "shift" ? SessionLine::Kind::Shift : SessionLine::Kind::Ctrl;
        (word == "shift" ? out.shift : out.ctrl) = down;
        return (w.size() == 2 && (w[1] == "0" || w[1] == "1")) || fail(error, quoted(word, " takes 0 or 1"));
    }
    if (word == "pointer") {
        out.kind = SessionLine::Kind::Pointer;
        if (w.size() == 2 && w[1] == "none") return 1;
        int x = 0, y = 0;
        if (!parsePointer(w, x, y)) return fail(error, "\"pointer\" takes none, or" + kPointerRange);
        out.pointer = ClientPoint{x, y};
        return 1;
    }
    if (word == "tablet") {
        out.kind = SessionLine::Kind::Tablet;
        TabletPacket& p = out.packet;
        const bool ok = w.size() == 7 && parseNumber(w[1], p.cursor) && parseNumber(w[2], p.buttons) &&
                        parseNumber(w[3], p.pressure) && parseNumber(w[4], p.axisMin) &&
                        parseNumber(w[5], p.axisMax) && parseNumber(w[6], p.pressMark);
        return ok || fail(error, "\"tablet\" takes CURSOR BUTTONS PRESSURE MIN MAX MARK");
    }
    if (word == "setting") {
        out.kind = SessionLine::Kind::Setting;
        out.text = restOf(line, word);
        return out.text.find('=') != std::string::npos || fail(error, "\"setting\" takes KEY=VALUE");
    }
    if (word == "drop") {
        out.kind = SessionLine::Kind::Message;
        out.message.type = MessageType::DropFile;
        out.message.path = restOf(line, word);
        return !out.message.path.empty() || fail(error, "\"drop\" takes a path");
    }
    if (word == "answer") return parseAnswer(line, w, out, error) ? 1 : 0;
    if (word == "wait") {
        out.kind = SessionLine::Kind::Wait;
        return (w.size() == 2 && parseSeconds(w[1], out.seconds)) ||
               fail(error, "\"wait\" takes seconds, a decimal number such as 31 or 2.5");
    }
    if (word == "clipboard") {
        out.kind = SessionLine::Kind::Clipboard;
        const std::optional<std::string> text = w.size() == 2 ? percentDecode(w[1]) : std::string();
        if (w.size() > 2 || !text) return fail(error, "\"clipboard\" takes percent-encoded text, or nothing");
        out.text = *text;
        return 1;
    }
    if (word == "crash") {
        out.kind = SessionLine::Kind::Crash;
        return w.size() == 1 || fail(error, "\"crash\" takes nothing");
    }
    if (word == "save" || word == "grab") {
        out.kind = word == "save" ? SessionLine::Kind::Save : SessionLine::Kind::Grab;
        out.text = restOf(line, word);
        return !out.text.empty() || fail(error, quoted(word, " takes a path"));
    }
    return parseMessage(w, out, error) ? 1 : 0;
}

std::string formatSessionLine(const SessionLine& line) {
    const Message& m = line.message;
    switch (line.kind) {
    case SessionLine::Kind::Nothing: return "";
    case SessionLine::Kind::Shift: return line.shift ? "shift 1" : "shift 0";
    case SessionLine::Kind::Ctrl: return line.ctrl ? "ctrl 1" : "ctrl 0";
    case SessionLine::Kind::Pointer:
        return line.pointer ? "pointer " + std::to_string(line.pointer->x) + " " + std::to_string(line.pointer->y)
                            : "pointer none";
    case SessionLine::Kind::Tablet: {
        const TabletPacket& p = line.packet;
        return "tablet " + std::to_string(p.cursor) + " " + std::to_string(p.buttons) + " " +
               std::to_string(p.pressure) + " " + std::to_string(p.axisMin) + " " + std::to_string(p.axisMax) + " " +
               std::to_string(p.pressMark);
    }
    case SessionLine::Kind::Answer:
        switch (line.answer) {
        case SessionLine::Answer::File: return "answer file " + line.text;
        case SessionLine::Answer::Yes: return "answer yes";
        case SessionLine::Answer::No: return "answer no";
        case SessionLine::Answer::Cancel: return "answer cancel";
        case SessionLine::Answer::Colour: {
            char rgb[8];
            std::snprintf(rgb, sizeof rgb, "%02X%02X%02X", line.colour & 0xff, (line.colour >> 8) & 0xff,
                          (line.colour >> 16) & 0xff);
            return std::string("answer colour ") + rgb;
        }
        case SessionLine::Answer::Box: {
            std::string text = "answer box";
            for (const auto& corner : {line.box.min, line.box.max})
                for (const int coordinate : corner) text += " " + std::to_string(coordinate);
            return text;
        }
        case SessionLine::Answer::Mesh: {
            // Appended piece by piece: GCC 12 misreads a chain of + here as an overlapping copy.
            std::string text = "answer mesh ";
            text.append(std::to_string(line.mesh.cells)).append(line.mesh.surface ? " surface" : " solid");
            return text;
        }
        case SessionLine::Answer::Number: return "answer number " + std::to_string(line.number);
        }
        return "";
    case SessionLine::Kind::Save: return "save " + line.text;
    case SessionLine::Kind::Grab: return "grab " + line.text;
    case SessionLine::Kind::Setting: return "setting " + line.text;
    case SessionLine::Kind::Wait: {
        char number[32];
        // Fixed notation: the shortest form of 100000 is 1e+05, which no wait line takes.
        const auto result = std::to_chars(number, number + sizeof number, line.seconds, std::chars_format::fixed);
        return "wait " + std::string(number, result.ptr);
    }
    case SessionLine::Kind::Clipboard: return line.text.empty() ? "clipboard" : "clipboard " + percentEncode(line.text);
    case SessionLine::Kind::Crash: return "crash";
    case SessionLine::Kind::Message: break;
    }
    for (const MouseWord& mouse : kMouseWords)
        if (m.type == mouse.type) return std::string(mouse.word) + " " + std::to_string(m.x) + " " + std::to_string(m.y);
    switch (m.type) {
    case MessageType::Size: return "size " + std::to_string(m.width) + " " + std::to_string(m.height);
    case MessageType::Paint: return "paint";
    case MessageType::KeyDown: return "key " + keyNameOf(m.key, line.ctrl);
    case MessageType::Command: return "menu " + std::to_string(m.command);
    case MessageType::MouseWheel: return "wheel " + std::to_string(m.wheelDelta);
    case MessageType::DropFile: return "drop " + m.path;
    case MessageType::ChooseFinding: return "finding " + std::to_string(m.row);
    case MessageType::Close: return "menu " + std::to_string(command::kQuit);  // the same quit flow
    default: return "";  // nothing a session carries
    }
}

}  // namespace cubrik
