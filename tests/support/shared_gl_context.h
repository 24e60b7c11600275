#pragma once
// One headless OpenGL context for a whole test or benchmark program, made
// current on first use and kept until the program ends.

#include <string>

#include "render/headless_context.h"

namespace cubrik::testing {

// The context, or nullptr with `failure` saying why none could be made.
inline HeadlessGlContext* sharedGlContext(std::string& failure) {
    static HeadlessGlContext gl;
    static std::string reason;
    static const bool created = createHeadlessGlContext(gl, reason) == 1;
    failure = reason;
    return created ? &gl : nullptr;
}

}  // namespace cubrik::testing
