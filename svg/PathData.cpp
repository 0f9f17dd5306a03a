#include "PathData.h"

#include "ValueReaders.h"

#include <cmath>

namespace SVGEngine {
namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kMaxSegmentAngle = 2.0943952f; // 120 degrees
constexpr float kDegreesToRadians = 0.017453292f;

float Clamp1(float v) {
    return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v);
}

// Turns points of the ellipse's own axes back into user space.
struct Rotation {
    float cosine = 1.0f;
    float sine = 0.0f;
    PointF Apply(float x, float y) const {
        if (sine == 0.0f && cosine == 1.0f)
            return {x, y};
        return {x * cosine - y * sine, x * sine + y * cosine};
    }
};

bool ReadArgument(const char*& p, const char* end, float& value) {
    SkipSeparator(p, end);
    return ScanNumber(p, end, value);
}

template <std::size_t N> bool ReadArguments(const char*& p, const char* end, float (&values)[N]) {
    for (float& v : values)
        if (!ReadArgument(p, end, v))
            return false;
    return true;
}

} // namespace

PointF ConvertArc(Path& path, float x1, float y1, float rx, float ry, float xAxisRotation,
                  bool largeArc, bool sweep, float x2, float y2) {
    if (rx == 0.0f || ry == 0.0f) {
        path.LineTo(x2, y2);
        return {x2, y2};
    }
    // An arc that ends where it starts draws nothing.
    if (x1 == x2 && y1 == y2)
        return {x2, y2};
    rx = std::fabs(rx);
    ry = std::fabs(ry);

    // Work in the ellipse's own axes; with rotation 0 nothing changes.
    Rotation toUser;
    PointF a{x1, y1}, b{x2, y2};
    const float angle = xAxisRotation * kDegreesToRadians;
    if (angle != 0.0f) {
        toUser = {std::cos(angle), std::sin(angle)};
        const Rotation toEllipse{toUser.cosine, -toUser.sine};
        a = toEllipse.Apply(x1, y1);
        b = toEllipse.Apply(x2, y2);
    }

    const float hx = (a.x - b.x) / 2.0f;
    const float hy = (a.y - b.y) / 2.0f;
    const float lambda = hx * hx / (rx * rx) + hy * hy / (ry * ry);
    if (lambda > 1.0f) {
        const float grow = std::sqrt(lambda);
        rx *= grow;
        ry *= grow;
    }
    const float rx2 = rx * rx, ry2 = ry * ry;
    float k = std::sqrt(
        std::fabs((rx2 * ry2 - rx2 * hy * hy - ry2 * hx * hx) / (rx2 * hy * hy + ry2 * hx * hx)));
    if (largeArc == sweep)
        k = -k;
    const float cx = k * hy * rx / ry + (a.x + b.x) / 2.0f;
    const float cy = (a.y + b.y) / 2.0f - k * hx * ry / rx;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry)) {
        // Radii too small or too large to place the ellipse: join the ends.
        path.LineTo(x2, y2);
        return {x2, y2};
    }

    float f1 = std::asin(Clamp1((a.y - cy) / ry));
    float f2 = std::asin(Clamp1((b.y - cy) / ry));
    if (a.x < cx)
        f1 = kPi - f1;
    if (b.x < cx)
        f2 = kPi - f2;
    if (f1 < 0.0f)
        f1 += kTwoPi;
    if (f2 < 0.0f)
        f2 += kTwoPi;
    // Ends a hair apart near the top or bottom of the ellipse get the same angle in single
    // precision; the large arc between them is then (almost) a whole turn, not nothing.
    if (f1 == f2 && largeArc) {
        if (sweep)
            f1 -= kTwoPi;
        else
            f2 -= kTwoPi;
    }
    if (sweep && f1 > f2)
        f1 -= kTwoPi;
    if (!sweep && f1 < f2)
        f2 -= kTwoPi;

    // An angle with its sine and cosine, each computed once.
    struct Angle {
        float value, sine, cosine;
        explicit Angle(float f) : value(f), sine(std::sin(f)), cosine(std::cos(f)) {}
    };
    auto segment = [&](PointF from, const Angle& fa, PointF to, const Angle& fb, bool last) {
        const float t = std::tan((fb.value - fa.value) / 4.0f);
        const float ex = 4.0f / 3.0f * rx * t;
        const float ey = 4.0f / 3.0f * ry * t;
        const PointF c1 = toUser.Apply(from.x - ex * fa.sine, from.y + ey * fa.cosine);
        const PointF c2 = toUser.Apply(to.x + ex * fb.sine, to.y - ey * fb.cosine);
        const PointF end = last ? PointF{x2, y2} : toUser.Apply(to.x, to.y);
        path.CurveTo(c1.x, c1.y, c2.x, c2.y, end.x, end.y);
        return c2;
    };

    PointF start = a;
    Angle from(f1);
    // At most three full steps: the angles differ by less than 2 pi.
    for (int i = 0; i < 4 && std::fabs(f2 - from.value) > kMaxSegmentAngle; ++i) {
        const float f1Now = from.value;
        const Angle step((sweep && f1Now < f2) ? f1Now + kMaxSegmentAngle
                                               : f1Now - kMaxSegmentAngle);
        const PointF mid{cx + rx * step.cosine, cy + ry * step.sine};
        segment(start, from, mid, step, false);
        start = mid;
        from = step;
    }
    return segment(start, from, b, Angle(f2), true);
}

void PlayPathData(std::string_view data, Path& path) {
    const char* p = data.data();
    const char* end = p + data.size();
    PointF current, subpathStart, cubicReflection, quadReflection;
    bool subpathOpen = false;
    char command = 'm';
    while (true) {
        SkipSpaces(p, end);
        if (p == end)
            return;
        const char c = *p;
        if (!(IsDigit(c) || c == ',' || c == '-' || c == '.')) {
            command = c; // an unknown one ends the data at the switch below
            ++p;
        } else if (command == 'Z' || command == 'z') {
            return; // close-path takes no numbers
        }
        const bool relative = command >= 'a' && command <= 'z';
        const float ox = relative ? current.x : 0.0f;
        const float oy = relative ? current.y : 0.0f;
        switch (command) {
        case 'M':
        case 'm': {
            float v[2];
            if (!ReadArguments(p, end, v))
                return;
            current = {ox + v[0], oy + v[1]};
            path.MoveTo(current.x, current.y);
            cubicReflection = current;
            if (!subpathOpen) {
                subpathStart = current;
                subpathOpen = true;
            }
            command = relative ? 'l' : 'L';
            break;
        }
        case 'L':
        case 'l': {
            float v[2];
            if (!ReadArguments(p, end, v))
                return;
            current = {ox + v[0], oy + v[1]};
            path.LineTo(current.x, current.y);
            cubicReflection = current;
            break;
        }
        case 'H':
        case 'h': {
            float v[1];
            if (!ReadArguments(p, end, v))
                return;
            current.x = ox + v[0];
            path.LineTo(current.x, current.y);
            cubicReflection = current;
            break;
        }
        case 'V':
        case 'v': {
            float v[1];
            if (!ReadArguments(p, end, v))
                return;
            current.y = oy + v[0];
            path.LineTo(current.x, current.y);
            cubicReflection = current;
            break;
        }
        case 'C':
        case 'c': {
            float v[6];
            if (!ReadArguments(p, end, v))
                return;
            path.CurveTo(ox + v[0], oy + v[1], ox + v[2], oy + v[3], ox + v[4], oy + v[5]);
            cubicReflection = {ox + v[2], oy + v[3]};
            current = {ox + v[4], oy + v[5]};
            break;
        }
        case 'S':
        case 's': {
            float v[4];
            if (!ReadArguments(p, end, v))
                return;
            const float x1 = 2.0f * current.x - cubicReflection.x;
            const float y1 = 2.0f * current.y - cubicReflection.y;
            path.CurveTo(x1, y1, ox + v[0], oy + v[1], ox + v[2], oy + v[3]);
            cubicReflection = {ox + v[0], oy + v[1]};
            current = {ox + v[2], oy + v[3]};
            break;
        }
        case 'Q':
        case 'q': {
            float v[4];
            if (!ReadArguments(p, end, v))
                return;
            path.QuadTo(ox + v[0], oy + v[1], ox + v[2], oy + v[3]);
            quadReflection = {ox + v[0], oy + v[1]};
            current = {ox + v[2], oy + v[3]};
            break;
        }
        case 'T':
        case 't': {
            float v[2];
            if (!ReadArguments(p, end, v))
                return;
            quadReflection = {2.0f * current.x - quadReflection.x,
                              2.0f * current.y - quadReflection.y};
            path.QuadTo(quadReflection.x, quadReflection.y, ox + v[0], oy + v[1]);
            current = {ox + v[0], oy + v[1]};
            break;
        }
        case 'A':
        case 'a': {
            float radii[2], rotation[1], target[2];
            bool largeArc, sweep;
            if (!ReadArguments(p, end, radii) || !ReadArguments(p, end, rotation) ||
                !ReadArcFlag(p, end, largeArc) || !ReadArcFlag(p, end, sweep) ||
                !ReadArguments(p, end, target))
                return;
            const PointF to{ox + target[0], oy + target[1]};
            cubicReflection = ConvertArc(path, current.x, current.y, radii[0], radii[1],
                                         rotation[0], largeArc, sweep, to.x, to.y);
            current = to;
            break;
        }
        case 'Z':
        case 'z':
            path.ClosePath();
            if (subpathOpen) {
                current = subpathStart;
                subpathOpen = false;
            }
            break;
        default:
            return; // not a path command
        }
    }
}

} // namespace SVGEngine
