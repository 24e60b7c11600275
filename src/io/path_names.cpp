#include "io/path_names.h"

#include <cctype>
#include <filesystem>

namespace cubrik {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif

std::string_view fileNameOf(std::string_view path) {
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

std::string folderOf(std::string_view path) {
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator));
}

std::string titleOf(std::string_view path) {
    const std::string_view name = fileNameOf(path);
    return std::string(name.substr(0, name.rfind('.')));
}

std::string_view extensionOf(std::string_view path) {
    const std::string_view name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

bool extensionStartsWith(std::string_view path, std::string_view prefix) {
    const std::string_view extension = extensionOf(path);
    if (extension.empty()) return false;
    if (extension.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(extension[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

}  // namespace cubrik
