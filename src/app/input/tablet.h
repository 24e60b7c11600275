#pragma once
// Pen pressure: pen packets are queued as they arrive and taken in batches by
// the poll at the start of every mouse message; each batch gives one brush
// size from 1 to 24, applied while Pressure input is on.

#include <cstdint>

#include "app/state/tablet_state.h"

namespace cubrik {

struct App;

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
