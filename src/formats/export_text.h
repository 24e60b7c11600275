#pragma once
// What the mesh writers share: the document text on its way to the file,
// with CR LF line ends on every platform, the safe write around it (which the
// binary glTF writer uses too), and the names built from a material letter
// and a colour number.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/mesh_extraction.h"
#include "io/atomic_file.h"

namespace cubrik {

// The text of one export document. Numbers are appended to `buffer` with the
// io/text_format functions; put() adds template text and hands full buffers on.
struct ExportText {
    AtomicFileWriter& file;
    std::string buffer;
};

// Appends `text`, writing each "\n" as CR LF.
void put(ExportText& text, std::string_view templateText);

// Hands a full buffer on to the file; binary writers call it as they append.
void handOn(ExportText& text);

// Writes the document to `path` through a temporary file: refreshes the
// corner codes first for a smooth export, runs `writeBody`, then puts the
// file in place. A `companion` file (opened and written by the caller) is put
// in place just before it, once both are complete, so the two come together or
// not at all. Returns 1, or 0 with `reason` when a file cannot be written or
// memory ran out; the earlier files are then left as they were.
int writeExportFile(const std::filesystem::path& path, const MeshSource& source, std::string& reason,
                    const std::function<void(ExportText&)>& writeBody, AtomicFileWriter* companion = nullptr);

// The same for several files, each written by `writeBody(i, text)`: all are
// complete before any is put in place. Returns 1, or 0 with `reason`; files
// already put in place when a later rename fails stay (a rename seldom fails
// once its folder took the temporary file).
int writeExportFiles(const std::vector<std::filesystem::path>& paths, const MeshSource& source, std::string& reason,
                     const std::function<void(std::size_t, ExportText&)>& writeBody);

// Appends three numbers with `decimals` places, separated by single spaces.
void appendTriple(std::string& out, double a, double b, double c, int decimals);

// Appends `prefix`, the material letter and the colour number as two digits:
// ("mat_", material A, 5) gives "mat_A05".
void appendMaterialName(std::string& out, std::string_view prefix, Material material, int colour);

// Calls `emit` with the index of every face of `colour`, in face order.
template <class Emit>
void forEachFaceOfColour(const QuadMesh& mesh, int colour, Emit emit) {
    int left = mesh.facesPerColour[colour];
    for (int face = 0; left > 0; ++face)
        if (mesh.faceColours[face] == colour) {
            emit(face);
            --left;
        }
}

}  // namespace cubrik
