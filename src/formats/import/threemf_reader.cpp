#include "formats/import/threemf_reader.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "formats/import/zip_reader.h"

namespace cubrik {
namespace {

// An uncompressed model part beyond this is refused (its header may lie, so
// the bytes read are counted too).
constexpr std::uint64_t kLargestModelPart = std::uint64_t{2} << 30;
constexpr std::uint64_t kLargestRelationships = 1 << 20;
constexpr std::size_t kMostVertices = 3 * kMostImportedTriangles;
constexpr std::uint32_t kNoColour = 0xff000000;

// ---- Text ----

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// An XML number: spaces around it and a leading '+' allowed.
bool parseNumber(std::string_view text, double& value) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && std::all_of(end, text.data() + text.size(), isSpace);
}

// "#RRGGBB" or "#RRGGBBAA", as shown (sRGB): 0xRRGGBB.
bool parseColour(std::string_view text, std::uint32_t& colour) {
    if ((text.size() != 7 && text.size() != 9) || text.front() != '#') return false;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    colour = text.size() == 9 ? value >> 8 : value;
    return true;
}

// An affine map of row vectors, 3MF's way: p' = p * M, the last row the shift.
using Transform = std::array<double, 12>;
constexpr Transform kIdentity = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};

// `first`, then `then`.
Transform compose(const Transform& first, const Transform& then) {
    Transform out{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = r == 3 ? then[9 + c] : 0;
            for (int k = 0; k < 3; ++k) sum += first[3 * r + k] * then[3 * k + c];
            out[3 * r + c] = sum;
        }
    return out;
}

// ---- The model ----

struct Object;

struct Component {
    const Object* object;
    Transform transform;
};

struct Object {
    std::vector<float> vertices;           // x, y, z each
    std::vector<std::uint32_t> triangles;  // three vertex numbers each
    std::vector<std::uint32_t> colours;    // per corner, kNoColour where none
    std::vector<Component> components;
    std::uint32_t pid = 0, pindex = 0;
    bool hasPid = false;
    std::uint64_t placedTriangles = 0;  // with its components', at most one over the limit
};

class ModelParser {
public:
    ModelParser() : parser_(XML_ParserCreateNS(nullptr, '|')) {
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(
            parser_,
            [](void* self, const XML_Char* name, const XML_Char** attributes) {
                static_cast<ModelParser*>(self)->start(name, attributes);
            },
            [](void* self, const XML_Char* name) { static_cast<ModelParser*>(self)->end(name); });
        // 3MF forbids document type declarations, and with them entity expansion.
        XML_SetStartDoctypeDeclHandler(parser_, [](void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
            static_cast<ModelParser*>(self)->fail("it declares a document type, which 3MF does not allow");
        });
    }
    ~ModelParser() { XML_ParserFree(parser_); }
    ModelParser(const ModelParser&) = delete;
    ModelParser& operator=(const ModelParser&) = delete;

    bool feed(const char* bytes, int count, bool last, std::string& reason) {
        if (XML_Parse(parser_, bytes, count, last) == XML_STATUS_OK) return true;
        reason = failure_.empty()
                     ? std::string("its model is damaged (") + XML_ErrorString(XML_GetErrorCode(parser_)) + ")"
                     : failure_;
        reason += " at line " + std::to_string(XML_GetCurrentLineNumber(parser_));
        return false;
    }

    int placeInto(TriangleSoup& soup, std::string& reason) const;

private:
    static std::string_view local(const XML_Char* name) {
        const std::string_view text(name);
        const std::size_t bar = text.rfind('|');
        return bar == std::string_view::npos ? text : text.substr(bar + 1);
    }
    static const char* attribute(const XML_Char** attributes, std::string_view name) {
        for (; *attributes != nullptr; attributes += 2)
            if (name == attributes[0]) return attributes[1];
        return nullptr;
    }
    void fail(std::string message) {
        if (failure_.empty()) failure_ = std::move(message);
        XML_StopParser(parser_, XML_FALSE);
    }
    // The attribute as a number; absent: `fallback`, or a failure when there is none.
    std::optional<double> number(const XML_Char** attributes, std::string_view name,
                                 std::optional<double> fallback = {}) {
        const char* text = attribute(attributes, name);
        double value = 0;
        if (text == nullptr && fallback) return fallback;
        if (text != nullptr && parseNumber(text, value)) return value;
        fail(std::string(text == nullptr ? "a required attribute " : "a bad number in attribute ") + std::string(name));
        return std::nullopt;
    }
    std::optional<std::uint32_t> index(const XML_Char** attributes, std::string_view name,
                                       std::optional<double> fallback = {}) {
        const std::optional<double> value = number(attributes, name, fallback);
        if (!value) return std::nullopt;
        if (*value >= 0 && *value < 4294967296.0 && *value == static_cast<std::uint32_t>(*value))
            return static_cast<std::uint32_t>(*value);
        fail("attribute " + std::string(name) + " is not a whole number");
        return std::nullopt;
    }
    std::optional<Transform> transform(const XML_Char** attributes) {
        const char* text = attribute(attributes, "transform");
        if (text == nullptr) return kIdentity;
        Transform out;
        std::string_view rest(text);
        for (double& value : out) {
            while (!rest.empty() && isSpace(rest.front())) rest.remove_prefix(1);
            const std::size_t length = std::min(rest.find_first_of(" \t\r\n"), rest.size());
            if (!parseNumber(rest.substr(0, length), value)) {
                fail("a transform is not twelve numbers");
                return std::nullopt;
            }
            rest.remove_prefix(length);
        }
        if (rest.find_first_not_of(" \t\r\n") != std::string_view::npos) fail("a transform is not twelve numbers");
        return out;
    }
    const Object* defined(std::uint32_t id) {
        const auto found = objects_.find(id);
        if (found == objects_.end()) fail("it refers to object " + std::to_string(id) + " before defining it");
        return found == objects_.end() ? nullptr : &found->second;
    }

    void start(const XML_Char* fullName, const XML_Char** attributes);
    void end(const XML_Char* fullName);
    void addTriangle(const XML_Char** attributes);
    std::uint32_t colourOf(std::uint32_t group, std::uint32_t member) const {
        const auto found = groups_.find(group);
        return found != groups_.end() && member < found->second.size() ? found->second[member] : kNoColour;
    }

    XML_Parser parser_;
    std::string failure_;
    std::map<std::uint32_t, Object> objects_;
    std::map<std::uint32_t, std::vector<std::uint32_t>> groups_;  // base materials and colour groups
    std::optional<std::pair<std::uint32_t, Object>> object_;      // the one being read
    std::vector<std::uint32_t>* group_ = nullptr;                 // the one being read
    std::vector<Component> build_;
    std::size_t triangles_ = 0, vertices_ = 0;
};

void ModelParser::start(const XML_Char* fullName, const XML_Char** attributes) {
    const std::string_view name = local(fullName);
    if (name == "object") {
        const auto id = index(attributes, "id");
        const auto pid = index(attributes, "pid", 0.0);
        const auto pindex = index(attributes, "pindex", 0.0);
        if (!id || !pid || !pindex) return;
        if (objects_.count(*id) != 0 || object_) return fail("object " + std::to_string(*id) + " is defined twice");
        object_.emplace(*id, Object{});
        object_->second.pid = *pid;
        object_->second.pindex = *pindex;
        object_->second.hasPid = attribute(attributes, "pid") != nullptr;
    } else if (name == "vertex" && object_) {
        const auto x = number(attributes, "x"), y = number(attributes, "y"), z = number(attributes, "z");
        if (!x || !y || !z) return;
        if (++vertices_ > kMostVertices) return fail("it has more than " + std::to_string(kMostVertices) + " vertices");
        for (const double c : {*x, *y, *z}) object_->second.vertices.push_back(static_cast<float>(c));
    } else if (name == "triangle" && object_) {
        addTriangle(attributes);
    } else if (name == "component" && object_) {
        const auto id = index(attributes, "objectid");
        const auto placed = transform(attributes);
        if (!id || !placed) return;
        if (const Object* child = defined(*id)) object_->second.components.push_back({child, *placed});
    } else if (name == "item") {
        const auto id = index(attributes, "objectid");
        const auto placed = transform(attributes);
        if (!id || !placed) return;
        if (const Object* object = defined(*id)) build_.push_back({object, *placed});
    } else if (name == "basematerials" || name == "colorgroup") {
        if (const auto id = index(attributes, "id")) group_ = &groups_[*id];
    } else if ((name == "base" || name == "color") && group_ != nullptr) {
        const char* text = attribute(attributes, name == "base" ? "displaycolor" : "color");
        std::uint32_t colour = 0;
        if (text == nullptr || !parseColour(text, colour)) return fail("a colour is not #RRGGBB or #RRGGBBAA");
        group_->push_back(colour);
    }
}

void ModelParser::addTriangle(const XML_Char** attributes) {
    Object& object = object_->second;
    const auto a = index(attributes, "v1"), b = index(attributes, "v2"), c = index(attributes, "v3");
    if (!a || !b || !c) return;
    const std::size_t vertexCount = object.vertices.size() / 3;
    if (std::max({*a, *b, *c}) >= vertexCount) return fail("a triangle names a vertex the object does not have");
    if (++triangles_ > kMostImportedTriangles)
        return fail("it has more than the " + std::to_string(kMostImportedTriangles) + " triangles an import takes");
    // Properties default to the object's; the second and third corners to the first's.
    const auto group = index(attributes, "pid", object.pid);
    const auto first = index(attributes, "p1", object.pindex);
    if (!group || !first) return;
    const auto second = index(attributes, "p2", *first), third = index(attributes, "p3", *first);
    if (!second || !third) return;
    const bool coloured = object.hasPid || attribute(attributes, "pid") != nullptr;
    object.triangles.insert(object.triangles.end(), {*a, *b, *c});
    for (const std::uint32_t member : {*first, *second, *third})
        object.colours.push_back(coloured ? colourOf(*group, member) : kNoColour);
}

void ModelParser::end(const XML_Char* fullName) {
    const std::string_view name = local(fullName);
    if (name == "object" && object_) {
        Object& object = object_->second;
        object.placedTriangles = object.triangles.size() / 3;
        for (const Component& component : object.components)
            object.placedTriangles = std::min<std::uint64_t>(object.placedTriangles + component.object->placedTriangles,
                                                             kMostImportedTriangles + 1);
        objects_.emplace(object_->first, std::move(object));
        object_.reset();
    } else if (name == "basematerials" || name == "colorgroup") {
        group_ = nullptr;
    }
}

int ModelParser::placeInto(TriangleSoup& soup, std::string& reason) const {
    // Count before allocating: components may place an object many times.
    std::uint64_t total = 0;
    for (const Component& item : build_)
        total = std::min<std::uint64_t>(total + item.object->placedTriangles, kMostImportedTriangles + 1);
    if (total > kMostImportedTriangles) {
        reason = "it places more than the " + std::to_string(kMostImportedTriangles) + " triangles an import takes";
        return 0;
    }
    soup = TriangleSoup{};
    soup.positions.reserve(9 * total);
    std::vector<std::uint32_t> colours;
    colours.reserve(3 * total);
    bool coloured = false;
    // Without recursion, so a long chain of components cannot exhaust the stack.
    std::vector<Component> pending(build_.rbegin(), build_.rend());
    while (!pending.empty()) {
        const auto [object, m] = pending.back();
        pending.pop_back();
        for (std::size_t corner = 0; corner < object->triangles.size(); ++corner) {
            const float* p = object->vertices.data() + 3 * object->triangles[corner];
            double q[3];
            for (int c = 0; c < 3; ++c) q[c] = p[0] * m[c] + p[1] * m[3 + c] + p[2] * m[6 + c] + m[9 + c];
            // Printing formats stand z up; the model's y is up and its front faces +z.
            const float placed[3] = {static_cast<float>(q[0]), static_cast<float>(q[2]), static_cast<float>(-q[1])};
            soup.positions.insert(soup.positions.end(), placed, placed + 3);
            const std::uint32_t colour = object->colours[corner];
            coloured = coloured || colour != kNoColour;
            colours.push_back(colour == kNoColour ? 0xffffff : colour);
        }
        for (auto child = object->components.rbegin(); child != object->components.rend(); ++child)
            pending.push_back({child->object, compose(child->transform, m)});
    }
    if (coloured) soup.colours = std::move(colours);
    return 1;
}

int readPackage(ZipReader& package, TriangleSoup& soup, std::string& reason, const ImportControl& control) {
    if (!package.opened()) {
        reason = "it is not a 3MF package (no zip archive)";
        return 0;
    }
    // The model part is the package's start part, by convention 3D/3dmodel.model.
    std::string modelPart = "3D/3dmodel.model";
    XML_Parser relationships = XML_ParserCreate(nullptr);
    XML_SetUserData(relationships, &modelPart);
    XML_SetStartElementHandler(relationships, [](void* part, const XML_Char* name, const XML_Char** attributes) {
        std::string_view type, target;
        for (; *attributes != nullptr; attributes += 2) {
            if (std::string_view(attributes[0]) == "Type") type = attributes[1];
            if (std::string_view(attributes[0]) == "Target") target = attributes[1];
        }
        if (std::string_view(name) == "Relationship" && type.ends_with("/3dmodel") && !target.empty())
            *static_cast<std::string*>(part) = std::string(target.substr(target.front() == '/' ? 1 : 0));
    });
    std::string ignored;
    const int readRelationships = package.readEntry(
        "_rels/.rels", kLargestRelationships, {},
        [&](const char* bytes, int count, bool last) {
            return XML_Parse(relationships, bytes, count, last) == XML_STATUS_OK;
        },
        ignored);
    XML_ParserFree(relationships);
    if (readRelationships == 0) {
        reason = "its relationships part _rels/.rels is damaged";
        return 0;
    }
    ModelParser model;
    const int read = package.readEntry(
        modelPart, kLargestModelPart, control,
        [&](const char* bytes, int count, bool last) { return model.feed(bytes, count, last, reason); }, reason);
    if (read < 0) reason = "it has no model part " + modelPart;
    return read > 0 && model.placeInto(soup, reason);
}

}  // namespace

int readThreeMfFile(const std::filesystem::path& path, TriangleSoup& soup, std::string& reason,
                    const ImportControl& control) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        reason = "there is no such file";
        return 0;
    }
    ZipReader package(path);
    return readPackage(package, soup, reason, control);
}

int readThreeMf(std::span<const std::uint8_t> bytes, TriangleSoup& soup, std::string& reason,
                const ImportControl& control) {
    ZipReader package(bytes);
    return readPackage(package, soup, reason, control);
}

}  // namespace cubrik
