#pragma once
// An OpenGL compatibility-profile context with no window and no display
// server (EGL on Mesa's surfaceless platform), for the command-line renderer,
// the tests and the benchmarks. Draw into an OffscreenTarget.

#include <string>

namespace cubrik {

struct HeadlessGlContext {
    void* display = nullptr;  // EGLDisplay
    void* context = nullptr;  // EGLContext

    HeadlessGlContext() = default;
    ~HeadlessGlContext();
    HeadlessGlContext(const HeadlessGlContext&) = delete;
    HeadlessGlContext& operator=(const HeadlessGlContext&) = delete;
};

// Creates the context and makes it current on this thread. Returns 1, or 0
// with `reason` saying what is missing.
int createHeadlessGlContext(HeadlessGlContext& gl, std::string& reason);

// Releases and destroys the context; safe to call twice.
void destroyHeadlessGlContext(HeadlessGlContext& gl);

}  // namespace cubrik
