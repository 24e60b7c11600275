#pragma once
// The pen's packets and the pressure state the App keeps; the poll that turns
// them into brush sizes is app/input/tablet.h.

#include <cstddef>
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
    std::int32_t pressureSize = -1;  // the size of the latest batch
    std::int64_t calibratedCursor = -1;
    // The calibration read for that cursor.
    std::int32_t pressureButton = 0;  // logical button whose bit says the tip is pressed
    // 64 bits: a range of two 32-bit ends may not fit 32.
    std::int64_t axisMin = 0, axisRange = 0, tipMin = 0, tipRange = 0;
};

}  // namespace cubrik
