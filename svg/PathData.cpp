#include "PathData.h"

#include "ValueReaders.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace SVGEngine {
namespace {

constexpr float kMaxSegmentAngle = 2.0943952f; // 120 degrees
constexpr float kDegreesToRadians = 0.017453292f;
// A whole step's turn and the tangent of a quarter of it.
const float kStepCosine = std::cos(kMaxSegmentAngle);
const float kStepSine = std::sin(kMaxSegmentAngle);
const float kStepTangent = std::tan(kMaxSegmentAngle / 4.0f);

float Clamp1(float v) {
    return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v);
}

// ifTrue or ifFalse without a jump: whether a command is relative changes at random
// from command to command, and a jump on it would be mispredicted half the time.
// (The arcs' flags and sides likewise pick signs from kSigns by multiplying.)
float Choose(bool condition, float ifTrue, float ifFalse) {
    std::uint32_t t, f;
    std::memcpy(&t, &ifTrue, sizeof t);
    std::memcpy(&f, &ifFalse, sizeof f);
    const std::uint32_t mask = 0u - static_cast<std::uint32_t>(condition);
    const std::uint32_t chosen = (t & mask) | (f & ~mask);
    float result;
    std::memcpy(&result, &chosen, sizeof result);
    return result;
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

// The rotation by `degrees` (`radians` in radians). Rotations are nearly always whole
// degrees; theirs come from a table of the very same values, the others are computed.
Rotation RotationBy(float degrees, float radians) {
    struct WholeDegrees {
        Rotation turn[360];
        WholeDegrees() {
            for (int d = 0; d < 360; ++d) {
                const float r = static_cast<float>(d) * kDegreesToRadians;
                turn[d] = {std::cos(r), std::sin(r)};
            }
        }
    };
    static const WholeDegrees table;
    if (degrees >= 0.0f && degrees < 360.0f) {
        const int whole = static_cast<int>(degrees);
        if (static_cast<float>(whole) == degrees)
            return table.turn[whole];
    }
    return {std::cos(radians), std::sin(radians)};
}

// The readers take the cursor by value and return where they stopped (null when the
// text lacks what they read): a cursor whose address is never taken stays in a register
// instead of going through memory around every number and every call into the path.
template <std::size_t N>
const char* ReadArguments(const char* p, const char* end, float (&values)[N]) {
    for (float& v : values) {
        SkipSeparator(p, end);
        if (!ScanNumber(p, end, v))
            return nullptr;
    }
    return p;
}

const char* ReadFlag(const char* p, const char* end, bool& flag) {
    return ReadArcFlag(p, end, flag) ? p : nullptr;
}

// A point of the unit circle: the cosine and sine of its angle.
struct UnitPoint {
    float cosine, sine;
};

// The point of the unit circle at the angle f = asin(sine), or pi - f left of the
// centre (dx < 0): a point's angle as the arc construction takes it, from the height
// alone. The cosine comes from the sine as sqrt((1 - s)(1 + s)), which keeps its
// digits near the top and bottom of the ellipse, where an arcsine loses half of them.
UnitPoint AngleOf(float dx, float sine) {
    sine = Clamp1(sine);
    const float cosine = std::sqrt((1.0f - sine) * (1.0f + sine));
    return {cosine * kSigns[dx < 0.0f], sine};
}

// The turn from a to b (counted towards increasing angles) as its sine and cosine.
UnitPoint TurnBetween(UnitPoint a, UnitPoint b) {
    return {a.cosine * b.cosine + a.sine * b.sine, a.cosine * b.sine - a.sine * b.cosine};
}

// tan(t / 4) for the turn t from a to b, of at most 120 degrees either way.
float QuarterTangent(UnitPoint a, UnitPoint b) {
    const UnitPoint turn = TurnBetween(a, b);
    const float sinTurn = turn.sine, cosTurn = turn.cosine;
    // cos(t / 2) by the half-angle formula; at most 120 degrees keep it above 0.49.
    const float cosHalf = std::sqrt(std::fabs((1.0f + cosTurn) / 2.0f));
    // tan(t / 4) = sin(t / 2) / (1 + cos(t / 2)), and sin(t / 2) = sin t / (2 cos(t / 2)).
    return sinTurn / (2.0f * cosHalf * (1.0f + cosHalf));
}

// How many whole 120-degree steps the arc from `start` to `finish` takes before its last
// segment of at most 120 degrees: the turn goes forwards (increasing angle) with the sweep
// flag, backwards without it, and covers [0, 360) degrees.
//
// This is the count the angles f1 and f2 give (arcsines of the ends, moved into one turn
// of each other), decided on the points themselves. Ends that float rounding puts on one
// angle give a whole turn (two steps and a last segment) for a large arc and a tiny
// segment otherwise, as the equal angles do; a large arc cannot turn less than half a
// circle, nor a small one more, so a turn that says so is such a rounding case.
int WholeSteps(UnitPoint start, UnitPoint finish, bool largeArc, bool sweep) {
    const UnitPoint turn = TurnBetween(start, finish);
    const float cosTurn = turn.cosine;
    const float sinTurn = turn.sine * kSigns[!sweep];
    // Counted without jumps: the count, like the flags, changes at random from arc to arc.
    const bool pastHalf = (sinTurn < 0.0f) | ((sinTurn == 0.0f) & (cosTurn < 0.0f));
    const int upToHalf = cosTurn < kStepCosine;         // up to 180 degrees: 0 or 1
    const int beyondHalf = 1 + (cosTurn > kStepCosine); // beyond: 1 or 2
    int steps = pastHalf ? beyondHalf : upToHalf;
    // Ends that meet: a whole turn for a large arc, a tiny segment for a small one.
    const bool meet = cosTurn > 0.0f && pastHalf != largeArc;
    steps = meet ? (largeArc ? 2 : 0) : steps;
    return steps;
}

// One cubic segment of the arc from `from` (at unit point fa) to `to` (at fb) in the
// ellipse's axes, `t` the tangent of a quarter of its turn; `end` is its end point in
// user space. Returns its second control point, in user space.
// Always inline: called for every segment of an arc, it would otherwise take its dozen
// arguments through the stack.
[[gnu::always_inline]] inline PointF EmitSegment(Path& path, const Rotation& toUser, float rx,
                                                 float ry, PointF from, UnitPoint fa, PointF to,
                                                 UnitPoint fb, float t, PointF end) {
    const float ex = 4.0f / 3.0f * rx * t;
    const float ey = 4.0f / 3.0f * ry * t;
    const PointF c1 = toUser.Apply(from.x - ex * fa.sine, from.y + ey * fa.cosine);
    const PointF c2 = toUser.Apply(to.x + ex * fb.sine, to.y - ey * fb.cosine);
    path.CurveTo(c1.x, c1.y, c2.x, c2.y, end.x, end.y);
    return c2;
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
        toUser = RotationBy(xAxisRotation, angle);
        const Rotation toEllipse{toUser.cosine, -toUser.sine};
        a = toEllipse.Apply(x1, y1);
        b = toEllipse.Apply(x2, y2);
    }

    const float hx = (a.x - b.x) / 2.0f;
    const float hy = (a.y - b.y) / 2.0f;
    const float lambda = hx * hx / (rx * rx) + hy * hy / (ry * ry);
    const float grow = std::sqrt(lambda);
    // Scaled when lambda > 1, that is when grow > 1 (a NaN leaves them as they are).
    rx *= std::max(1.0f, grow);
    ry *= std::max(1.0f, grow);
    const float rx2 = rx * rx, ry2 = ry * ry;
    const float inverseRy = 1.0f / ry;
    float k = std::sqrt(
        std::fabs((rx2 * ry2 - rx2 * hy * hy - ry2 * hx * hx) / (rx2 * hy * hy + ry2 * hx * hx)));
    k *= kSigns[largeArc == sweep];
    const float cx = k * hy * rx / ry + (a.x + b.x) / 2.0f;
    const float cy = (a.y + b.y) / 2.0f - k * hx * ry / rx;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry)) {
        // Radii too small or too large to place the ellipse: join the ends.
        path.LineTo(x2, y2);
        return {x2, y2};
    }

    // The ends on the unit circle: the cosines and sines of their angles f1 and f2.
    const UnitPoint start = AngleOf(a.x - cx, (a.y - cy) * inverseRy);
    const UnitPoint finish = AngleOf(b.x - cx, (b.y - cy) * inverseRy);
    const int steps = WholeSteps(start, finish, largeArc, sweep);

    // Each whole step turns by 120 degrees, forwards with the sweep flag, else backwards.
    const float stepSine = kStepSine * kSigns[!sweep];
    const float stepTangent = kStepTangent * kSigns[!sweep];
    PointF from = a;
    UnitPoint at = start;
    for (int i = 0; i < steps; ++i) {
        const UnitPoint next{at.cosine * kStepCosine - at.sine * stepSine,
                             at.sine * kStepCosine + at.cosine * stepSine};
        const PointF to{cx + rx * next.cosine, cy + ry * next.sine};
        EmitSegment(path, toUser, rx, ry, from, at, to, next, stepTangent,
                    toUser.Apply(to.x, to.y));
        from = to;
        at = next;
    }
    return EmitSegment(path, toUser, rx, ry, from, at, b, finish, QuarterTangent(at, finish),
                       PointF{x2, y2});
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
        const float ox = Choose(relative, current.x, 0.0f);
        const float oy = Choose(relative, current.y, 0.0f);
        switch (command) {
        case 'M':
        case 'm': {
            float v[2];
            p = ReadArguments(p, end, v);
            if (p == nullptr)
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
            p = ReadArguments(p, end, v);
            if (p == nullptr)
                return;
            current = {ox + v[0], oy + v[1]};
            path.LineTo(current.x, current.y);
            cubicReflection = current;
            break;
        }
        case 'H':
        case 'h': {
            float v[1];
            p = ReadArguments(p, end, v);
            if (p == nullptr)
                return;
            current.x = ox + v[0];
            path.LineTo(current.x, current.y);
            cubicReflection = current;
            break;
        }
        case 'V':
        case 'v': {
            float v[1];
            p = ReadArguments(p, end, v);
            if (p == nullptr)
                return;
            current.y = oy + v[0];
            path.LineTo(current.x, current.y);
            cubicReflection = current;
            break;
        }
        case 'C':
        case 'c': {
            float v[6];
            p = ReadArguments(p, end, v);
            if (p == nullptr)
                return;
            path.CurveTo(ox + v[0], oy + v[1], ox + v[2], oy + v[3], ox + v[4], oy + v[5]);
            cubicReflection = {ox + v[2], oy + v[3]};
            current = {ox + v[4], oy + v[5]};
            break;
        }
        case 'S':
        case 's': {
            float v[4];
            p = ReadArguments(p, end, v);
            if (p == nullptr)
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
            p = ReadArguments(p, end, v);
            if (p == nullptr)
                return;
            path.QuadTo(ox + v[0], oy + v[1], ox + v[2], oy + v[3]);
            quadReflection = {ox + v[0], oy + v[1]};
            current = {ox + v[2], oy + v[3]};
            break;
        }
        case 'T':
        case 't': {
            float v[2];
            p = ReadArguments(p, end, v);
            if (p == nullptr)
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
            p = ReadArguments(p, end, radii);
            if (p != nullptr)
                p = ReadArguments(p, end, rotation);
            if (p != nullptr)
                p = ReadFlag(p, end, largeArc);
            if (p != nullptr)
                p = ReadFlag(p, end, sweep);
            if (p != nullptr)
                p = ReadArguments(p, end, target);
            if (p == nullptr)
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
