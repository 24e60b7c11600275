#include "formats/threemf_export.h"

#include <charconv>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "formats/export_text.h"
#include "formats/print_mesh.h"
#include "formats/zip_package.h"
#include "model/material.h"

namespace cubrik {
namespace {

constexpr std::string_view kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">\n"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>\n"
    "<Default Extension=\"model\" ContentType=\"application/vnd.ms-package.3dmanufacturing-3dmodel+xml\"/>\n"
    "</Types>\n";

constexpr std::string_view kRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">\n"
    "<Relationship Type=\"http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel\" "
    "Target=\"/3D/3dmodel.model\" Id=\"rel0\"/>\n"
    "</Relationships>\n";

constexpr std::string_view kModelStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<model xmlns=\"http://schemas.microsoft.com/3dmanufacturing/core/2015/02\" unit=\"millimeter\" "
    "xml:lang=\"en-US\" xmlns:m=\"http://schemas.microsoft.com/3dmanufacturing/material/2015/02\" "
    "xmlns:p=\"http://schemas.microsoft.com/3dmanufacturing/production/2015/06\">\n"
    "<resources>\n";

// The one material group is resource 1 ("pid" 1); objects are numbered after it.
constexpr int kMaterialsId = 1;

// Vertex numbers after joining the corners that smoothing brought into one
// point within a face: the triangles left out there then leave no edge alone
// by number, as they leave none by position.
std::vector<std::int32_t> joinedVertices(const QuadMesh& mesh, const std::vector<float>& points) {
    std::vector<std::int32_t> root(static_cast<std::size_t>(vertexCount(mesh)));
    std::iota(root.begin(), root.end(), 0);
    const auto find = [&](std::int32_t v) {
        while (root[v] != v) v = root[v] = root[root[v]];
        return v;
    };
    for (std::size_t q = 0; q < mesh.quadsLength; q += 4)
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) {
                const std::int32_t a = mesh.quads[q + i], b = mesh.quads[q + j];
                if (samePoint(points.data() + 3 * a, points.data() + 3 * b)) root[find(b)] = find(a);
            }
    for (std::int32_t v = 0; v < static_cast<std::int32_t>(root.size()); ++v) root[v] = find(v);
    return root;
}

// `text` as attribute content: markup characters as references, and what XML
// cannot hold (control characters, bytes that are not UTF-8) as '?'.
void appendAttributeText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80 ? 1 : byte >= 0xc2 && byte < 0xe0 ? 2 : byte >= 0xe0 && byte < 0xf0 ? 3
                                                   : byte >= 0xf0 && byte < 0xf5 ? 4
                                                                                 : 0;
        bool whole = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k) whole = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
        if (!whole || byte < 0x20) {
            out.push_back('?');
            ++i;
            continue;
        }
        switch (byte) {
        case '&': out.append("&amp;"); break;
        case '<': out.append("&lt;"); break;
        case '>': out.append("&gt;"); break;
        case '"': out.append("&quot;"); break;
        default: out.append(text.substr(i, length));
        }
        i += length;
    }
}

// Numbered identifiers rather than random ones keep the same model the same file.
void appendUuid(std::string& out, int number) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append("c0b1c000-0000-4000-8000-");
    out.append(static_cast<std::size_t>(12 - (end - digits)), '0');
    out.append(digits, end);
}

struct Triangle {
    std::uint32_t v[3];
    std::uint32_t material;
};

constexpr std::uint32_t kUnusedVertex = ~std::uint32_t{0};

// The triangles of a mesh with their materials, and the number each vertex
// takes in the object: only those the triangles use, numbered in their
// order, the rest kUnusedVertex.
struct IndexedTriangles {
    std::vector<Triangle> triangles;  // by mesh vertex numbers
    std::vector<std::uint32_t> number;
};

IndexedTriangles indexTriangles(const QuadMesh& mesh, const std::vector<float>& points,
                                const std::uint32_t (&materialIndex)[kLastCode + 1]) {
    const std::vector<std::int32_t> joined = joinedVertices(mesh, points);
    IndexedTriangles out;
    forEachTriangle(mesh, points, [&](std::int32_t a, std::int32_t b, std::int32_t c, std::size_t face) {
        out.triangles.push_back({{static_cast<std::uint32_t>(joined[a]), static_cast<std::uint32_t>(joined[b]),
                                  static_cast<std::uint32_t>(joined[c])},
                                 materialIndex[mesh.faceColours[face]]});
    });
    out.number.assign(joined.size(), kUnusedVertex);
    for (const Triangle& t : out.triangles)
        for (const std::uint32_t v : t.v) out.number[v] = 0;
    std::uint32_t used = 0;
    for (std::uint32_t& n : out.number)
        if (n != kUnusedVertex) n = used++;
    return out;
}

// "#RRGGBBFF": the colour, opaque.
void appendDisplayColour(std::string& out, std::uint32_t rgb) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out.push_back('#');
    for (int shift = 20; shift >= 0; shift -= 4) out.push_back(kDigits[(rgb >> shift) & 0xf]);
    out.append("FF");
}

// One element of the model in a stack buffer: literal text and numbers,
// the shortest decimals that read back as the same float.
class Element {
public:
    Element& operator<<(std::string_view text) {
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
        return *this;
    }
    Element& operator<<(std::uint32_t number) {
        at_ = std::to_chars(at_, end_, number).ptr;
        return *this;
    }
    Element& operator<<(float number) {
        at_ = std::to_chars(at_, end_, number, std::chars_format::fixed).ptr;
        return *this;
    }
    std::string_view text() const { return {buffer_, static_cast<std::size_t>(at_ - buffer_)}; }

private:
    // Three floats in fixed notation (under 50 characters each) and the markup.
    char buffer_[256];
    char* at_ = buffer_;
    char* end_ = buffer_ + sizeof buffer_;
};

// The model part, streamed into the package in pieces as it is written.
class ModelWriter {
public:
    ModelWriter(ZipPackage& package, const VoxelModel& model, const std::vector<std::uint8_t>& codes)
        : package_(package) {
        package_.beginEntry("3D/3dmodel.model");
        text_.append(kModelStart);
        text_.append("<basematerials id=\"1\">\n");
        for (std::size_t index = 0; index < codes.size(); ++index) {
            const std::uint8_t code = codes[index];
            const Material material = materialOfCode(code);
            text_.append("<base name=\"").append(colourName(code)).append("\" displaycolor=\"");
            appendDisplayColour(text_, packColour(paletteOf(model, material)[code - firstCodeOf(material)]));
            text_.append("\"/>\n");
            materialIndex_[code] = static_cast<std::uint32_t>(index);
        }
        text_.append("</basematerials>\n");
    }

    // Writes the extracted surface as an object named `name`, to be placed
    // in the build.
    void addObject(const QuadMesh& mesh, double cellMillimetres, const std::string& name) {
        const std::vector<float> points = millimetrePositions(mesh, cellMillimetres);
        const IndexedTriangles indexed = indexTriangles(mesh, points, materialIndex_);
        const std::vector<Triangle>& triangles = indexed.triangles;
        const std::vector<std::uint32_t>& number = indexed.number;

        objects_.push_back(++lastId_);
        text_.append("<object id=\"");
        appendNumber(lastId_);
        text_.append("\" name=\"");
        appendAttributeText(text_, name);
        text_.append("\" type=\"model\" p:UUID=\"");
        appendUuid(text_, 2 * static_cast<int>(objects_.size()) - 1);
        // Readers want the object's own colour too: that of its first triangle.
        text_.append("\" pid=\"1\" pindex=\"");
        appendNumber(triangles.empty() ? 0 : triangles.front().material);
        text_.append("\">\n<mesh>\n<vertices>\n");
        for (std::size_t v = 0; v < number.size(); ++v)
            if (number[v] != kUnusedVertex) {
                const float* p = points.data() + 3 * v;
                Element element;
                element << "<vertex x=\"" << p[0] << "\" y=\"" << p[1] << "\" z=\"" << p[2] << "\"/>\n";
                put(element.text());
            }
        put("</vertices>\n<triangles>\n");
        for (const Triangle& t : triangles) {
            Element element;
            element << "<triangle v1=\"" << number[t.v[0]] << "\" v2=\"" << number[t.v[1]] << "\" v3=\""
                    << number[t.v[2]] << "\" pid=\"1\" p1=\"" << t.material << "\"/>\n";
            put(element.text());
        }
        put("</triangles>\n</mesh>\n</object>\n");
    }

    // Ends the model with the build, an item per object.
    void finish() {
        text_.append("</resources>\n<build p:UUID=\"");
        appendUuid(text_, 2 * static_cast<int>(objects_.size()) + 1);
        text_.append("\">\n");
        for (std::size_t i = 0; i < objects_.size(); ++i) {
            text_.append("<item objectid=\"");
            appendNumber(objects_[i]);
            text_.append("\" p:UUID=\"");
            appendUuid(text_, 2 * static_cast<int>(i) + 2);
            text_.append("\"/>\n");
        }
        text_.append("</build>\n</model>\n");
        package_.write(text_);
        text_.clear();
    }

private:
    static constexpr std::size_t kPieceSize = 1 << 16;

    void appendNumber(std::uint32_t number) {
        char digits[16];
        text_.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
    }

    void put(std::string_view text) {
        text_.append(text);
        if (text_.size() < kPieceSize) return;
        package_.write(text_);
        text_.clear();
    }

    ZipPackage& package_;
    std::string text_;
    std::uint32_t materialIndex_[kLastCode + 1] = {};
    std::uint32_t lastId_ = kMaterialsId;
    std::vector<std::uint32_t> objects_;
};

int write3mf(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
             std::string& reason, bool colourParts) {
    const std::vector<std::uint8_t> codes = codesInUse(source.model);
    if (codes.empty()) {
        reason = "the model has no filled cells, so there is nothing to print";
        return 0;
    }
    try {
        return writeExportFile(path, source, reason, [&](ExportText& text) {
            ZipPackage package;
            package.beginEntry("[Content_Types].xml");
            package.write(kContentTypes);
            package.beginEntry("_rels/.rels");
            package.write(kRelationships);
            ModelWriter model(package, source.model, codes);
            if (colourParts) {
                for (const std::uint8_t code : codes) {
                    extractCodedMesh(extractor, source, code);
                    model.addObject(extractor.mesh, source.cellMillimetres, colourName(code));
                }
            } else {
                extractCodedMesh(extractor, source, kEmpty);
                model.addObject(extractor.mesh, source.cellMillimetres, path.stem().string());
            }
            model.finish();
            text.buffer = package.finish();
        });
    } catch (const std::runtime_error& failure) {  // a ZipFailure, or no thread to deflate on
        reason = std::string("3MF writer: ") + failure.what();
        return 0;
    }
}

}  // namespace

int export3mf(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
              std::string& reason) {
    return write3mf(extractor, source, path, reason, false);
}

int export3mfColourParts(MeshExtractor& extractor, const MeshSource& source, const std::filesystem::path& path,
                         std::string& reason) {
    return write3mf(extractor, source, path, reason, true);
}

}  // namespace cubrik
