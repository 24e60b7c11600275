#pragma once
// Frames on a high-density screen. The application measures everything in
// client pixels (the pointer, picking, the brush radius, the panel's layout);
// a frame is drawn into the framebuffer's own, finer pixels with the same
// picture: client point (x, y) lands at device point (x * scale, y * scale)
// from the top left, where the window system puts the pointer.

namespace cubrik {

struct DeviceFrame {
    double scale = 1.0;  // device pixels per client pixel
    int width = 0;       // the framebuffer in device pixels
    int height = 0;

    bool scaled() const { return scale != 1.0; }
    float lineWidth() const { return static_cast<float>(scale); }  // a line one client pixel wide
};

// Sets the viewport to the device pixels under client columns `left` to the
// right edge, all rows.
void setDeviceViewport(const DeviceFrame& device, int left);

// Premultiplies the projection matrix so that what it draws into the client
// viewport (left, 0, clientWidth - left, clientHeight) lands, scaled, in the
// viewport of setDeviceViewport(device, left). Leaves the matrix mode at
// model-view.
void scaleProjectionToDevice(const DeviceFrame& device, int clientWidth, int clientHeight, int left);

}  // namespace cubrik
