#include "app/input/tablet.h"

#include <algorithm>
#include <vector>

#include "app/commands/strokes.h"
#include "app/state/app.h"

namespace cubrik {

void queueTabletPacket(TabletState& tablet, const TabletPacket& packet) {
    if (tablet.queue.size() == kTabletQueueSize) tablet.queue.pop_front();
    tablet.queue.push_back(packet);
}

std::int64_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t product = a * b;
    const std::int64_t magnitude = ((product < 0 ? -product : product) + (c < 0 ? -c : c) / 2) / (c < 0 ? -c : c);
    return (product < 0) != (c < 0) ? -magnitude : magnitude;
}

int scaledPressure(TabletState& tablet, const TabletPacket& packet) {
    if (tablet.calibratedCursor != packet.cursor) {
        tablet.calibratedCursor = packet.cursor;
        tablet.pressureButton = 0;  // the pen tip
        tablet.axisMin = packet.axisMin;
        tablet.axisRange = std::int64_t{packet.axisMax} - packet.axisMin;
        tablet.tipMin = packet.pressMark;
        tablet.tipRange = std::int64_t{packet.axisMax} - packet.pressMark;
    }
    const bool tipPressed = (packet.buttons >> (tablet.pressureButton % 32)) & 1;
    const std::int64_t low = tipPressed ? tablet.tipMin : tablet.axisMin;
    const std::int64_t range = tipPressed ? tablet.tipRange : tablet.axisRange;
    if (range <= 0) return 0;
    return static_cast<int>(std::clamp<std::int64_t>(mulDiv(std::int64_t{packet.pressure} - low, 255, range), 0, 255));
}

int batchBrushSize(const int* pressures, int count) {
    std::uint32_t sum = 0;
    for (int i = 0; i < count; ++i) sum += static_cast<std::uint32_t>(pressures[i] - pressures[i] * pressures[i] / 2550);
    const std::uint32_t size = 24 * sum / (200 * static_cast<std::uint32_t>(count)) + 1;
    return static_cast<int>(std::min<std::uint32_t>(size, 24));
}

void tabletPacketArrived(App& app, const TabletPacket& packet) {
    queueTabletPacket(app.tablet, packet);
    if (app.tablet.tabletAvailable) return;
    app.tablet.tabletAvailable = 1;
    app.platform.setMenuEnabled(command::kPressureInput, true);
}

int pollTablet(App& app) {
    TabletState& tablet = app.tablet;
    if (!tablet.tabletAvailable || tablet.queue.empty()) return 0;
    int pressures[kTabletQueueSize];
    int count = 0;
    for (const TabletPacket& packet : tablet.queue) pressures[count++] = scaledPressure(tablet, packet);
    tablet.queue.clear();
    const int previous = tablet.pressureSize;
    tablet.pressureSize = batchBrushSize(pressures, count);
    if (tablet.pressureSize != previous && app.toggles.pressureInput) {
        app.model().brushSize = std::clamp(tablet.pressureSize, 1, 24);
        forcedStrokeStep(app);
    }
    return 1;
}

}  // namespace cubrik
