#pragma once
// The light that reaches the eye along one ray: diffuse cells (and the
// floor) lit by a sun with a disc, which softens shadows, and by a sky, with
// the light bouncing between them; Russian roulette ends paths after a few
// bounces without biasing the mean.

#include <cstdint>

#include "trace/path_tracer.h"
#include "trace/sample_stream.h"

namespace cubrik {

struct Vec {
    float x, y, z;
};

// What the paths need beyond the scene, worked out once per render.
struct Lighting {
    Vec toSun, sunU, sunV;   // grid frame; sunU and sunV span the sun's disc
    LinearRgb background;
    TraceSky sky;
    bool floor;
    float floorY;            // grid units
};

Lighting makeLighting(const TraceScene& scene, const TraceCamera& camera, const TraceSettings& settings);

// The light along the ray from `origin` (grid units) in unit `direction`.
// Returns false, leaving `light` alone, when the ray meets nothing; `rays`
// counts the rays cast, this one included.
bool lightAlong(const TraceScene& scene, const Lighting& lighting, const Vec& origin, const Vec& direction,
                SampleStream& random, std::uint64_t& rays, LinearRgb& light);

}  // namespace cubrik
