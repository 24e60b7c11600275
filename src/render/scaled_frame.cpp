#include "render/scaled_frame.h"

#include <epoxy/gl.h>

namespace cubrik {

void presentScaled(const OffscreenTarget& source, unsigned int destination, int width, int height, bool smooth) {
    GLint previousDraw = 0, previousRead = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, destination);
    glBlitFramebuffer(0, 0, source.width, source.height, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                      smooth ? GL_LINEAR : GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
}

}  // namespace cubrik
