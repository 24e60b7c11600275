#include "app/cli/command_line_name.h"

namespace cubrik {

std::string commandLineFileName(std::string_view line) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    if (line[start] == '"') {
        const std::size_t close = line.rfind('"');
        if (close == start) return {};
        return std::string(line.substr(start + 1, close - start - 1));
    }
    const std::size_t end = line.find_first_of(" \t", start);
    return std::string(line.substr(start, end == std::string_view::npos ? end : end - start));
}

std::string commandLineOf(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty()) line += ' ';
        const bool quote = arg.find_first_of(" \t") != std::string::npos;
        line += quote ? "\"" + arg + "\"" : arg;
    }
    return line;
}

}  // namespace cubrik
