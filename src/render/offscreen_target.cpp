#include "render/offscreen_target.h"

#include <epoxy/gl.h>

namespace cubrik {
namespace {

bool framebufferObjectsAvailable() {
    return epoxy_gl_version() >= 30 || epoxy_has_gl_extension("GL_ARB_framebuffer_object");
}

}  // namespace

int ensureOffscreenTarget(OffscreenTarget& target, int width, int height, std::string& reason) {
    if (width <= 0 || height <= 0) {
        reason = "the view has no area (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return 0;
    }
    if (target.framebuffer && target.width == width && target.height == height) return 1;
    if (!framebufferObjectsAvailable()) {
        reason = "OpenGL has no framebuffer objects (needs OpenGL 3.0 or GL_ARB_framebuffer_object)";
        return 0;
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (width > maxSize || height > maxSize) {
        reason = "the image is larger than OpenGL can draw offscreen (" + std::to_string(maxSize) + " pixels a side)";
        return 0;
    }
    if (!target.framebuffer) {
        glGenFramebuffers(1, &target.framebuffer);
        glGenRenderbuffers(1, &target.colour);
        glGenRenderbuffers(1, &target.depth);
    }
    GLint previousRenderbuffer = 0;
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &previousRenderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, target.colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, target.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(previousRenderbuffer));

    GLenum status;
    {
        OffscreenBinding binding(target);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, target.colour);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, target.depth);
        status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    }
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        releaseOffscreenTarget(target);
        reason = "OpenGL cannot draw offscreen (framebuffer status " + std::to_string(status) + ")";
        return 0;
    }
    target.width = width;
    target.height = height;
    return 1;
}

void releaseOffscreenTarget(OffscreenTarget& target) {
    if (target.framebuffer) {
        glDeleteFramebuffers(1, &target.framebuffer);
        glDeleteRenderbuffers(1, &target.colour);
        glDeleteRenderbuffers(1, &target.depth);
    }
    target = OffscreenTarget{};
}

OffscreenBinding::OffscreenBinding(const OffscreenTarget& target) {
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    glGetIntegerv(GL_VIEWPORT, previousViewport);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
}

OffscreenBinding::~OffscreenBinding() {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    glViewport(previousViewport[0], previousViewport[1], previousViewport[2], previousViewport[3]);
}

void readOffscreenPixels(const OffscreenTarget& target, int x, int y, int width, int height, std::uint8_t* rgba,
                         int rowLength) {
    OffscreenBinding binding(target);
    glFinish();
    GLint previousAlignment = 4, previousRowLength = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousAlignment);
    glGetIntegerv(GL_PACK_ROW_LENGTH, &previousRowLength);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, rowLength);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glPixelStorei(GL_PACK_ALIGNMENT, previousAlignment);
    glPixelStorei(GL_PACK_ROW_LENGTH, previousRowLength);
}

}  // namespace cubrik
