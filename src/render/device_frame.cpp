#include "render/device_frame.h"

#include <epoxy/gl.h>

#include <cmath>

namespace cubrik {
namespace {

int deviceLeft(const DeviceFrame& device, int left) { return static_cast<int>(std::floor(left * device.scale)); }

}  // namespace

void setDeviceViewport(const DeviceFrame& device, int left) {
    const int x = deviceLeft(device, left);
    glViewport(x, 0, device.width > x ? device.width - x : 0, device.height > 0 ? device.height : 0);
}

void scaleProjectionToDevice(const DeviceFrame& device, int clientWidth, int clientHeight, int left) {
    const double r = device.scale;
    const int x = deviceLeft(device, left), width = device.width - x, height = device.height;
    const int clientViewWidth = clientWidth - left;
    if (width <= 0 || height <= 0 || clientViewWidth <= 0 || clientHeight <= 0) return;
    // Client x at normalised xn is left + (xn + 1) / 2 * clientViewWidth; times r, then
    // normalised over the device viewport. Rows are anchored at the top, where
    // client row 0 and device row 0 meet.
    const double ax = r * clientViewWidth / width;
    const double bx = (2.0 * r * left + r * clientViewWidth - 2.0 * x) / width - 1.0;
    const double ay = r * clientHeight / height;
    const double by = 1.0 - ay;
    double projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslated(bx, by, 0.0);
    glScaled(ax, ay, 1.0);
    glMultMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace cubrik
