#include "formats/vox_scene.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "formats/byte_reader.h"
#include "formats/vox_colours.h"

namespace cubrik {
namespace {

// Limits that keep a hostile scene graph from running away: nesting, the
// number of model placements it may make, and the work of walking it (nodes
// shared down several paths are walked once for each).
constexpr int kMaxGraphDepth = 64;
constexpr std::size_t kMaxPlacements = 4096;
constexpr std::size_t kMaxNodeVisits = std::size_t{1} << 20;

struct Chunk {
    std::string id;
    std::span<const std::uint8_t> content;
    std::span<const std::uint8_t> children;
};

// The chunk id as text; bytes that are not printable show as '?'.
std::string chunkName(std::span<const std::uint8_t> id) {
    std::string name;
    for (std::uint8_t c : id) name.push_back(c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?');
    return name;
}

bool readChunk(ByteReader& reader, Chunk& chunk, std::string& reason) {
    const auto id = reader.take(4);
    chunk.id = chunkName(id);
    const std::uint32_t contentSize = reader.u32();
    const std::uint32_t childrenSize = reader.u32();
    chunk.content = reader.take(contentSize);
    chunk.children = reader.take(childrenSize);
    if (reader.failed) reason = "the file ends inside chunk \"" + chunk.id + "\"";
    return !reader.failed;
}

// Reads a DICT and returns the value of `key`, if there is one.
std::optional<std::string_view> readDict(ByteReader& reader, std::string_view key) {
    std::optional<std::string_view> found;
    const std::int32_t pairs = reader.i32();
    if (pairs < 0) reader.failed = true;
    for (std::int32_t i = 0; i < pairs && !reader.failed; ++i) {
        const std::string_view name = reader.string();
        const std::string_view value = reader.string();
        if (name == key) found = value;
    }
    return found;
}

// The translation and rotation of a transform node's frame.
struct Frame {
    std::optional<std::string_view> translation, rotation;
};

Frame readFrame(ByteReader& reader) {
    Frame frame;
    const std::int32_t pairs = reader.i32();
    if (pairs < 0) reader.failed = true;
    for (std::int32_t i = 0; i < pairs && !reader.failed; ++i) {
        const std::string_view name = reader.string();
        const std::string_view value = reader.string();
        if (name == "_t") frame.translation = value;
        if (name == "_r") frame.rotation = value;
    }
    return frame;
}

// A rotation byte written as a decimal number.
bool parseRotation(std::string_view text, std::uint8_t& rotation) {
    unsigned value = 0;
    const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || next != text.data() + text.size() || value > 255) return false;
    rotation = static_cast<std::uint8_t>(value);
    return true;
}

// "x y z" as three whole numbers.
bool parseTranslation(std::string_view text, std::int64_t (&t)[3]) {
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (std::int64_t& value : t) {
        while (at != end && *at == ' ') ++at;
        std::int32_t parsed = 0;
        const auto [next, error] = std::from_chars(at, end, parsed);
        if (error != std::errc()) return false;
        value = parsed;
        at = next;
    }
    while (at != end && *at == ' ') ++at;
    return at == end;
}

enum class NodeKind { Transform, Group, Shape };

struct Node {
    NodeKind kind;
    std::int64_t translation[3] = {0, 0, 0};
    std::optional<std::uint8_t> rotation;
    std::vector<std::int32_t> children;  // for a shape, its model
    std::size_t chunkOrder = 0;          // where the node's chunk lies among the file's chunks
};

using NodeMap = std::unordered_map<std::int32_t, Node>;

bool readNode(const Chunk& chunk, std::size_t chunkOrder, NodeMap& nodes, std::string& reason) {
    ByteReader reader{chunk.content};
    Node node;
    node.chunkOrder = chunkOrder;
    const std::int32_t id = reader.i32();
    readDict(reader, "");
    if (chunk.id == "nTRN") {
        node.kind = NodeKind::Transform;
        node.children.push_back(reader.i32());
        reader.take(8);  // reserved and layer ids
        // An animated node stands as its first frame shows it.
        if (reader.i32() >= 1) {
            const Frame frame = readFrame(reader);
            if (frame.translation && !parseTranslation(*frame.translation, node.translation)) {
                reason = "scene node " + std::to_string(id) + " has a damaged translation";
                return false;
            }
            std::uint8_t rotation = 0;
            if (frame.rotation && !parseRotation(*frame.rotation, rotation)) {
                reason = "scene node " + std::to_string(id) + " has a damaged rotation";
                return false;
            }
            if (frame.rotation) node.rotation = rotation;
        }
    } else if (chunk.id == "nGRP") {
        node.kind = NodeKind::Group;
        const std::int32_t count = reader.i32();
        for (std::int32_t i = 0; i < count && !reader.failed; ++i) node.children.push_back(reader.i32());
        std::vector<std::int32_t> sorted = node.children;
        std::sort(sorted.begin(), sorted.end());
        if (const auto twice = std::adjacent_find(sorted.begin(), sorted.end()); twice != sorted.end()) {
            reason = "group node " + std::to_string(id) + " lists node " + std::to_string(*twice) + " twice";
            return false;
        }
    } else {
        node.kind = NodeKind::Shape;
        if (reader.i32() < 1) reader.failed = true;
        node.children.push_back(reader.i32());
    }
    if (reader.failed) {
        reason = "the " + chunk.id + " chunk is shorter than its fields";
        return false;
    }
    if (!nodes.emplace(id, std::move(node)).second) {
        reason = "two scene nodes have the id " + std::to_string(id);
        return false;
    }
    return true;
}

bool readSize(const Chunk& chunk, VoxShape& shape, std::string& reason) {
    ByteReader reader{chunk.content};
    const std::int32_t size[3] = {reader.i32(), reader.i32(), reader.i32()};
    if (reader.failed) {
        reason = "the SIZE chunk is shorter than its fields";
        return false;
    }
    for (int axis = 0; axis < 3; ++axis) {
        if (size[axis] < 1 || size[axis] > kVoxMaxModelSide) {
            reason = "a model has the size " + std::to_string(size[0]) + " x " + std::to_string(size[1]) + " x " +
                     std::to_string(size[2]);
            return false;
        }
        shape.size[axis] = size[axis];
    }
    return true;
}

bool readVoxels(const Chunk& chunk, VoxShape& shape, std::string& reason) {
    ByteReader reader{chunk.content};
    const std::uint32_t count = reader.u32();
    shape.voxels = reader.take(std::size_t{count} * 4);
    if (reader.failed) {
        reason = "the XYZI chunk holds fewer voxels than it counts";
        return false;
    }
    for (std::size_t i = 0; i < shape.voxels.size(); i += 4)
        for (int axis = 0; axis < 3; ++axis)
            if (shape.voxels[i + axis] >= shape.size[axis]) {
                reason = "a voxel lies outside its model's size";
                return false;
            }
    return true;
}

struct GraphWalk {
    const NodeMap& nodes;
    VoxScene& scene;
    std::string& reason;
    std::vector<std::size_t> order;  // the shape node's chunk order, by placement
    std::size_t placedVoxels = 0;
    std::size_t visits = 0;
    std::vector<std::int32_t> path;  // the nodes from the root down to the one being walked

    bool place(std::int32_t id, const VoxTransform& parent, int depth) {
        if (depth > kMaxGraphDepth) {
            reason = "the scene graph is nested too deeply or loops";
            return false;
        }
        if (std::find(path.begin(), path.end(), id) != path.end()) {
            reason = "the scene graph loops back to node " + std::to_string(id);
            return false;
        }
        if (++visits > kMaxNodeVisits) {
            reason = "walking the scene graph takes more than " + std::to_string(kMaxNodeVisits) +
                     " node visits (nodes shared by many paths)";
            return false;
        }
        const auto found = nodes.find(id);
        if (found == nodes.end()) {
            reason = "the scene graph refers to a missing node " + std::to_string(id);
            return false;
        }
        const Node& node = found->second;
        if (node.kind == NodeKind::Shape) return placeShape(node, parent);
        VoxTransform local;
        std::copy(std::begin(node.translation), std::end(node.translation), local.translation);
        if (node.rotation && !decodeVoxRotation(*node.rotation, local.matrix) && scene.badRotations++ == 0)
            scene.firstBadRotation = *node.rotation;
        const VoxTransform transform = composeVoxTransforms(parent, local);
        path.push_back(id);
        for (std::int32_t child : node.children)
            if (!place(child, transform, depth + 1)) return false;
        path.pop_back();
        return true;
    }

    bool placeShape(const Node& node, const VoxTransform& transform) {
        const std::int32_t model = node.children.front();
        if (model < 0 || static_cast<std::size_t>(model) >= scene.shapes.size()) {
            reason = "the scene graph refers to a missing model " + std::to_string(model);
            return false;
        }
        placedVoxels += scene.shapes[model].voxels.size() / 4;
        if (scene.placements.size() == kMaxPlacements || placedVoxels > kVoxMaxPlacedVoxels) {
            reason = "the scene places more models or voxels than Cubrik can take";
            return false;
        }
        scene.placements.push_back({model, transform});
        order.push_back(node.chunkOrder);
        return true;
    }

    // Shape nodes in file order; a shape reached twice keeps its walk order.
    void sortPlacements() {
        std::vector<std::size_t> index(order.size());
        for (std::size_t i = 0; i < index.size(); ++i) index[i] = i;
        std::stable_sort(index.begin(), index.end(), [&](std::size_t a, std::size_t b) { return order[a] < order[b]; });
        std::vector<VoxPlacement> sorted;
        sorted.reserve(index.size());
        for (std::size_t i : index) sorted.push_back(scene.placements[i]);
        scene.placements = std::move(sorted);
    }
};

bool readMainChildren(std::span<const std::uint8_t> children, VoxScene& scene, NodeMap& nodes, std::string& reason) {
    ByteReader reader{children};
    bool sizePending = false;
    for (std::size_t chunkOrder = 0; reader.at < children.size(); ++chunkOrder) {
        Chunk chunk;
        if (!readChunk(reader, chunk, reason)) return false;
        if (chunk.id == "SIZE") {
            scene.shapes.emplace_back();
            if (!readSize(chunk, scene.shapes.back(), reason)) return false;
            sizePending = true;
        } else if (chunk.id == "XYZI") {
            if (!sizePending) {
                reason = "an XYZI chunk has no SIZE chunk before it";
                return false;
            }
            if (!readVoxels(chunk, scene.shapes.back(), reason)) return false;
            sizePending = false;
        } else if (chunk.id == "RGBA") {
            if (chunk.content.size() < 4 * 255) {
                reason = "the RGBA chunk is shorter than its colours";
                return false;
            }
            for (std::size_t i = 0; i < 255; ++i) {
                const std::uint8_t* rgba = &chunk.content[4 * i];
                scene.palette[i + 1] = std::uint32_t{rgba[0]} << 16 | std::uint32_t{rgba[1]} << 8 | rgba[2];
            }
        } else if (chunk.id == "nTRN" || chunk.id == "nGRP" || chunk.id == "nSHP") {
            if (!readNode(chunk, chunkOrder, nodes, reason)) return false;
        }
    }
    if (sizePending) {
        reason = "a SIZE chunk has no XYZI chunk after it";
        return false;
    }
    return true;
}

}  // namespace

int readVoxScene(std::span<const std::uint8_t> bytes, VoxScene& scene, std::string& reason) {
    ByteReader reader{bytes};
    const auto magic = reader.take(4);
    reader.take(4);  // version: every version so far shares this layout
    if (reader.failed || std::string_view(reinterpret_cast<const char*>(magic.data()), 4) != "VOX ") {
        reason = "not a .vox file (no \"VOX \" header)";
        return 0;
    }
    Chunk main;
    if (!readChunk(reader, main, reason)) return 0;
    if (main.id != "MAIN") {
        reason = "the file's first chunk is \"" + main.id + "\", not \"MAIN\"";
        return 0;
    }
    scene.shapes.clear();
    scene.placements.clear();
    for (int index = 0; index < 256; ++index) scene.palette[index] = defaultVoxColour(index);
    NodeMap nodes;
    if (!readMainChildren(main.children, scene, nodes, reason)) return 0;

    scene.badRotations = 0;
    if (!nodes.empty()) {
        GraphWalk walk{nodes, scene, reason, {}, 0, 0, {}};
        if (!walk.place(0, VoxTransform{}, 0)) return 0;
        walk.sortPlacements();
        return 1;
    }
    for (std::size_t shape = 0; shape < scene.shapes.size(); ++shape)
        scene.placements.push_back({static_cast<int>(shape), VoxTransform{}});
    return 1;
}

}  // namespace cubrik
