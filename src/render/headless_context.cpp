#include "render/headless_context.h"

#include <epoxy/egl.h>

#include <cstdio>

namespace cubrik {
namespace {

std::string eglErrorText(const char* what) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", static_cast<unsigned>(eglGetError()));
    return std::string("headless OpenGL: ") + what + " failed (EGL error " + code + ")";
}

}  // namespace

HeadlessGlContext::~HeadlessGlContext() { destroyHeadlessGlContext(*this); }

int createHeadlessGlContext(HeadlessGlContext& gl, std::string& reason) {
    destroyHeadlessGlContext(gl);
    // libepoxy aborts on a call into a missing library or extension, so ask first.
    if (!epoxy_has_egl()) {
        reason = "headless OpenGL needs EGL (libEGL.so.1), which is not installed";
        return 0;
    }
    if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_EXT_platform_base") ||
        !epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless")) {
        reason = "headless OpenGL needs EGL's surfaceless platform (Mesa's EGL_MESA_platform_surfaceless)";
        return 0;
    }
    EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) {
        reason = eglErrorText("opening the surfaceless EGL display");
        return 0;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        reason = eglErrorText("initialising EGL");
        return 0;
    }
    gl.display = display;
    if (!epoxy_has_egl_extension(display, "EGL_KHR_surfaceless_context") ||
        !epoxy_has_egl_extension(display, "EGL_KHR_no_config_context")) {
        reason = "headless OpenGL needs EGL_KHR_surfaceless_context and EGL_KHR_no_config_context";
        destroyHeadlessGlContext(gl);
        return 0;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        reason = eglErrorText("choosing desktop OpenGL");
        destroyHeadlessGlContext(gl);
        return 0;
    }
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                 EGL_NONE};
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) {
        reason = eglErrorText("creating an OpenGL compatibility-profile context");
        destroyHeadlessGlContext(gl);
        return 0;
    }
    gl.context = context;
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        reason = eglErrorText("making the context current");
        destroyHeadlessGlContext(gl);
        return 0;
    }
    return 1;
}

void destroyHeadlessGlContext(HeadlessGlContext& gl) {
    if (!gl.display) return;
    EGLDisplay display = static_cast<EGLDisplay>(gl.display);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (gl.context) eglDestroyContext(display, static_cast<EGLContext>(gl.context));
    // The display is not terminated: it is one per process, shared by every
    // context made on it, and terminating it would end those too.
    eglReleaseThread();
    gl.display = nullptr;
    gl.context = nullptr;
}

}  // namespace cubrik
