#pragma once
// Pen packets from a tablet, queued as they arrive and taken in batches by
// the poll at the start of every mouse message.

#include <cstdint>
#include <deque>

namespace cubrik {

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
};

// Adds a packet, dropping the oldest when the queue is full.
inline void queueTabletPacket(TabletState& tablet, const TabletPacket& packet) {
    if (tablet.queue.size() == kTabletQueueSize) tablet.queue.pop_front();
    tablet.queue.push_back(packet);
}

}  // namespace cubrik
