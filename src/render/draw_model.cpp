#include "render/renderer.h"

#include <epoxy/gl.h>

namespace cubrik {
namespace {

// The batches are client-side arrays, read through buffer 0: a vertex buffer
// left bound elsewhere (a toolkit's own drawing) would turn their pointers
// into offsets. Unbinds it for one pass and binds it again afterwards.
struct ClientArrayScope {
    GLint previous = 0;
    ClientArrayScope() {
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &previous);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    ~ClientArrayScope() { glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(previous)); }
    ClientArrayScope(const ClientArrayScope&) = delete;
    ClientArrayScope& operator=(const ClientArrayScope&) = delete;
};

// The arrays of the looks in use for this pass, null when off.
struct LookArrays {
    const float* edgeCoordinates = nullptr;
    const std::uint32_t* triangleIndices = nullptr;
};

void drawDisplayBatch(QuadBatch& batch, const LookArrays& looks) {
    glEnable(GL_COLOR_MATERIAL);  // ambient and diffuse follow the vertex colour
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, batch.colours);
    glNormalPointer(GL_FLOAT, 0, batch.normals);
    glVertexPointer(3, GL_FLOAT, 0, batch.vertices);
    if (looks.edgeCoordinates) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, looks.edgeCoordinates);
    }
    // Occluded quads are split where their corners say; GL_QUADS leaves the split to the driver.
    if (looks.triangleIndices) glDrawElements(GL_TRIANGLES, batch.count * 6, GL_UNSIGNED_INT, looks.triangleIndices);
    else glDrawArrays(GL_QUADS, 0, batch.count * 4);
    if (looks.edgeCoordinates) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_COLOR_MATERIAL);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    batch.count = 0;
}

void drawPickBatch(QuadBatch& batch) {
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, batch.colours);
    glVertexPointer(3, GL_FLOAT, 0, batch.vertices);
    glDrawArrays(GL_QUADS, 0, batch.count * 4);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    batch.count = 0;
}

}  // namespace

int chooseRenderer(Renderer& renderer) {
    GLint maxElementsVertices = 0;
    glGetIntegerv(GL_MAX_ELEMENTS_VERTICES, &maxElementsVertices);
    return allocateRenderer(renderer, quadCapacityFor(maxElementsVertices), chooseKernelVariant());
}

void enableBackFaceCulling() { glEnable(GL_CULL_FACE); }

void releaseRenderer(Renderer& renderer) {
    releaseOffscreenTarget(renderer.offscreen);
    releaseReferenceTexture(renderer.referenceTexture);
    releaseDisplayLooks(renderer.looks);
}

void drawModel(Renderer& renderer, const ViewInputs& view) {
    // With the light's default direction along the view and the default scene
    // ambient of 0.2, a face of colour C with eye-space normal n shows as
    // min(1, C (0.4 + 0.8 max(0, n_z))): 1.2 C facing the viewer.
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    LookArrays looks;
    const bool edges = view.cellEdges && !view.smoothDisplay &&
                       prepareEdgeCoordinates(renderer.looks, renderer.quadCapacity);
    if (edges) {
        bindCellEdgeTexture(renderer.looks);
        glEnable(GL_TEXTURE_2D);
        looks.edgeCoordinates = renderer.looks.edgeCoordinates.data();
    }
    if (view.occlusion && prepareTriangleIndices(renderer.looks, renderer.quadCapacity))
        looks.triangleIndices = renderer.looks.triangleIndices.data();
    {
        ClientArrayScope arrays;
        produceDisplayBatches(renderer, view, [&](QuadBatch& batch) { drawDisplayBatch(batch, looks); });
    }
    if (edges) {
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
}

void emitPickFaces(Renderer& renderer, const ViewInputs& view, PickMode mode) {
    ClientArrayScope arrays;
    producePickBatches(renderer, view, mode, drawPickBatch);
}

void emitKeptPickFaces(Renderer& renderer, const FaceWalk& walk, const RowMasks& masks) {
    if (renderer.quadCapacity == 0) return;
    ClientArrayScope arrays;
    QuadBatch batch = batchAt(renderer.pickQuads, 0, renderer.quadCapacity);
    walkBuiltFaces(walk, masks, batch, [](QuadBatch& full) { drawPickBatch(full); });
}

}  // namespace cubrik
