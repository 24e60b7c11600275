#pragma once
// Names derived from a path: its folder, its title and its extension.

#include <string>
#include <string_view>

namespace cubrik {

// `path` made absolute against the current folder and normalised; as given
// when the current folder cannot be found.
std::string absolutePath(const std::string& path);

// The characters before the last path separator; empty when there is none.
std::string folderOf(std::string_view path);

// The file name with everything from its last dot removed.
std::string titleOf(std::string_view path);

// The file name's extension, after its last dot; empty when it has none.
std::string_view extensionOf(std::string_view path);

// Whether the file name's extension (after its last dot) begins with
// `prefix`, in any letter case.
bool extensionStartsWith(std::string_view path, std::string_view prefix);

}  // namespace cubrik
