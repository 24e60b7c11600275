#pragma once
// Pen pressure: pen packets are queued as they arrive and taken in batches by
// the poll at the start of every mouse message; each batch gives one brush
// size from 1 to 24, applied while Pressure input is on.

#include <cstdint>
#include <deque>

namespace cubrik {

struct App;

struct TabletPacket {
    std::uint32_t cursor = 0;    // which pen end or pen the packet came from
    std::uint32_t buttons = 0;   // bit 0 while the tip touches
    std::uint32_t pressure = 0;  // raw normal pressure
    // The calibration of the packet's cursor: the pressure axis and the press mark.
    std::int32_t axisMin = 0, axisMax = 1023, pressMark = 0;
};

inline constexpr std::size_t kTabletQueueSize = 32;

struct TabletState {
    std::int32_t tabletAvailable = 0;
    std::deque<TabletPacket> queue;  // at most kTabletQueueSize; the oldest are dropped
    std::int32_t pressureSize = -1;  // the size of the latest batch
    std::int64_t calibratedCursor = -1;
    // The calibration read for that cursor.
    std::int32_t pressureButton = 0;  // logical button whose bit says the tip is pressed
    // 64 bits: a range of two 32-bit ends may not fit 32.
    std::int64_t axisMin = 0, axisRange = 0, tipMin = 0, tipRange = 0;
};

// Adds a packet, dropping the oldest when the queue is full.
void queueTabletPacket(TabletState& tablet, const TabletPacket& packet);

// a * b / c in 64 bits, rounded to the nearest integer (halves away from zero).
std::int64_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c);

// A packet's pressure on the scale 0..255 of its cursor's calibration, read
// anew when the cursor changes. A range of 0 or less gives 0.
int scaledPressure(TabletState& tablet, const TabletPacket& packet);

// The brush size of a batch of scaled pressures: 1 without pressure, 24 at full.
int batchBrushSize(const int* pressures, int count);

// A pen packet from the desktop: queued for the next poll. The first one makes
// a tablet plugged in after start-up available.
void tabletPacketArrived(App& app, const TabletPacket& packet);

// Takes every queued packet. Returns 1 when there were any: the batch's size
// is then applied if it differs from the last one's.
int pollTablet(App& app);

}  // namespace cubrik
