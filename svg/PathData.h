// Path data ("d" attributes) played straight into a Path, and the conversion
// of elliptical arcs into cubic Bezier segments of at most 120 degrees.
#pragma once

#include "SVGRenderer.h"

#include <string_view>

namespace SVGEngine {

struct PointF {
    float x = 0.0f;
    float y = 0.0f;
};

// Plays the whole text into `path`; a fault ends the reading and keeps what
// was played so far.
void PlayPathData(std::string_view data, Path& path);

// Emits the arc from (x1, y1) to (x2, y2) into `path` and returns the last
// control point it emitted (the end point when it emitted a line or nothing).
PointF ConvertArc(Path& path, float x1, float y1, float rx, float ry, float xAxisRotation,
                  bool largeArc, bool sweep, float x2, float y2);

} // namespace SVGEngine
