#include "plant/plant.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>

#include "platform/opengl.h"

char* expansionBuffer = nullptr;

namespace {

// Rewrites into expansionBuffer within the bounds of plant.h. The successor
// of each symbol is looked up once, up front, so that rewriting reads a
// table instead of scanning the rules for every symbol. A symbol's expansion
// at a given depth is always the same string: once written whole, it is
// copied from where it lies in the buffer instead of being rewritten.
class Rewriter {
public:
    Rewriter(const char* const* rules, int32_t ruleCount) {
        for (const char*& s : successor_) s = nullptr;
        // From the last rule to the first, so that the lowest index wins.
        for (int32_t i = rules && ruleCount > 0 ? ruleCount : 0; i-- > 0;) {
            const char* rule = rules[i];
            if (rule && rule[0]) successor_[static_cast<unsigned char>(rule[0])] = rule + 1;
        }
    }

    char* expand(char* out, const char* in, int32_t depth) {
        for (; *in && out < limit_ && stepsLeft_ != 0; ++in) {
            --stepsLeft_;
            const auto symbol = static_cast<unsigned char>(*in);
            const char* successor = depth > 0 ? successor_[symbol] : nullptr;
            if (successor) {
                out = expandSymbol(out, symbol, successor, depth - 1);
            } else {
                *out++ = *in;
            }
        }
        return out;
    }

private:
    // Where a symbol's whole expansion at one depth was first written.
    struct Written {
        const char* start = nullptr;  // nullptr: not written yet
        size_t length = 0;
    };
    // Expansions are remembered at the depths below this one: the deepest
    // levels hold nearly all of the work. Deeper ones are rewritten.
    static constexpr int32_t kRememberedDepths = 8;

    char* expandSymbol(char* out, unsigned char symbol, const char* successor, int32_t depth) {
        Written* written = depth < kRememberedDepths ? &written_[depth][symbol] : nullptr;
        if (written && written->start) {
            const size_t length = std::min(written->length, static_cast<size_t>(limit_ - out));
            std::memcpy(out, written->start, length);
            return out + length;
        }
        char* end = expand(out, successor, depth);
        // One cut short by a bound is never copied: rewriting ends with it.
        if (written) *written = {out, static_cast<size_t>(end - out)};
        return end;
    }

    const char* successor_[256];
    Written written_[kRememberedDepths][256];
    char* limit_ = expansionBuffer + kExpansionBufferSize - 1;  // room for the terminator
    uint32_t stepsLeft_ = kMaxRewritingSteps;
};

int32_t boundedDepth(int32_t depth) {
    if (depth < 0) return 0;
    return depth > kMaxRewritingDepth ? kMaxRewritingDepth : depth;
}

// A plant whose memory cannot be had is empty: it draws nothing.
const char* copyOf(const char* text) {
    const char* copy = strdup(text);
    return copy ? copy : "";
}

// Past the "]" that closes the branch whose "[" is just before `cursor`;
// nullptr when the text ends first.
const char* skipBranch(const char* cursor) {
    for (int open = 1; *cursor; ++cursor) {
        if (*cursor == '[') ++open;
        if (*cursor == ']' && --open == 0) return cursor + 1;
    }
    return nullptr;
}

constexpr float kTurnDegrees = 41.0f;

struct SegmentStyle {
    float width;
    float r, g, b;
};
constexpr SegmentStyle kStem{2.0f, 0.7f, 0.6f, 0.5f};  // "T", "t"
constexpr SegmentStyle kLeaf{2.0f, 0.3f, 1.0f, 0.3f};  // "S"
constexpr SegmentStyle kLine{3.0f, 0.6f, 0.6f, 0.9f};  // "L"

// One segment from `start` along `heading`, in its own glBegin/glEnd pair.
// Returns its end point.
inline Vec3 emitSegment(Vec3 start, Vec3 heading, float stepLength, const SegmentStyle& style) {
    glLineWidth(style.width);
    glColor3f(style.r, style.g, style.b);
    glBegin(GL_LINES);
    glVertex3f(start.x, start.y, start.z);
    const Vec3 end = start + heading * stepLength;
    glVertex3f(end.x, end.y, end.z);
    glEnd();
    return end;
}

// The four turns of one drawing pass: the sway of "." and "^", the same for
// the whole pass, and the fixed 41 degrees of "<" and ">".
struct Turns {
    Rotation bend;
    Rotation unbend;
    Rotation left;
    Rotation right;
};

Turns turnsAtAge(Duration age) {
    const float sway = std::sin(0.5f * age.seconds()) * 2.5f + 2.5f;
    const Rotation bend = Rotation::byDegrees(sway);
    const Rotation left = Rotation::byDegrees(kTurnDegrees);
    return {bend, bend.reversed(), left, left.reversed()};
}

// The symbols the walk stops at: those that draw, that open or close a
// branch, and the end of the text. Between two stops there are only turns
// and symbols that do nothing.
struct Stops {
    bool at[256] = {};
    constexpr Stops() {
        for (const unsigned char symbol : {'T', 't', 'S', 'L', '[', ']', '\0'}) at[symbol] = true;
    }
};
constexpr Stops kStops;

// `heading` after the turns among the symbols from `from` up to `to`, in order.
Vec3 turned(Vec3 heading, const char* from, const char* to, const Turns& turns) {
    for (; from != to; ++from) {
        switch (*from) {
            case '.': heading = rotateX(heading, turns.bend); break;
            case '^': heading = rotateX(heading, turns.unbend); break;
            case '<': heading = rotateY(heading, turns.left); break;
            case '>': heading = rotateY(heading, turns.right); break;
            default: break;
        }
    }
    return heading;
}

// The turtle's walk, from stop to stop. The turns read since the last stop
// are applied when a segment or a branch needs the heading, and dropped
// unapplied at a "]": most of the built-in branches end with turns that
// nothing draws after. A "[" saves the turtle and the matching "]" restores
// it, on a stack of its own rather than by recursion; a branch opened with
// kMaxBranchNesting branches already open is skipped. Only segment ends go
// into `bounds`: the caller includes the first start (see interpret).
// `segments` counts the segments drawn.
const char* walk(const char* cursor, TurtleState turtle, const Turns& turns, float stepLength,
                 Bounds& bounds, int& segments) {
    TurtleState saved[kMaxBranchNesting];
    int nesting = 0;
    for (;;) {
        const char* const turnsFrom = cursor;
        while (!kStops.at[static_cast<unsigned char>(*cursor)]) ++cursor;
        const char symbol = *cursor++;
        if (symbol == ']') {
            if (nesting == 0) return cursor;
            turtle = saved[--nesting];
            continue;
        }
        turtle.heading = turned(turtle.heading, turnsFrom, cursor - 1, turns);
        switch (symbol) {
            case '\0': return nullptr;
            case 'T':
            case 't':
                turtle.position = emitSegment(turtle.position, turtle.heading, stepLength, kStem);
                bounds.include(turtle.position);
                ++segments;
                break;
            case 'S':
                turtle.position = emitSegment(turtle.position, turtle.heading, stepLength, kLeaf);
                bounds.include(turtle.position);
                ++segments;
                break;
            case 'L':
                bounds.include(emitSegment(turtle.position, turtle.heading, stepLength, kLine));
                ++segments;
                break;
            default:  // "["
                if (nesting < kMaxBranchNesting) {
                    saved[nesting++] = turtle;
                } else if (!(cursor = skipBranch(cursor))) {
                    return nullptr;
                }
                break;
        }
    }
}

}  // namespace

Plant::Plant(const char* axiom, int32_t ruleCount, const char* const* rules, int32_t depth,
             float stepLength)
    : text(""),
      stepLength(stepLength),
      rules(rules),
      ruleCount(ruleCount),
      beginTime(),
      age(),
      bounds() {
    if (!expansionBuffer) expansionBuffer = new (std::nothrow) char[kExpansionBufferSize];
    if (!expansionBuffer) return;
    char* end = expand(expansionBuffer, axiom ? axiom : "", depth);
    *end = '\0';
    text = copyOf(expansionBuffer);
}

char* Plant::expand(char* out, const char* in, int32_t depth) const {
    // Nothing is written outside the buffer, whatever `out` is.
    const std::less<const char*> before;
    if (!in || !expansionBuffer || before(out, expansionBuffer) ||
        before(expansionBuffer + kExpansionBufferSize - 1, out)) {
        return out;
    }
    return Rewriter(rules, ruleCount).expand(out, in, boundedDepth(depth));
}

void Plant::draw(const FrameInfo& frameInfo) {
    const TickTime now = TickTime::at(frameInfo.elapsed);
    if (now < beginTime) return;
    age = now - beginTime;
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT, GL_FILL);
    bounds.makeEmpty();
    interpret(text, TurtleState{{0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}});
}

const char* Plant::interpret(const char* cursor, TurtleState turtle) {
    // Every segment starts at the turtle's first position or where an earlier
    // one ended, so the bounds of a pass are those of its ends and of that
    // position, included first as the first segment would. The walk widens a
    // local copy, which can stay in registers across the OpenGL calls.
    Bounds widened = bounds;
    widened.include(turtle.position);
    int segments = 0;
    const char* end = walk(cursor, turtle, turnsAtAge(age), stepLength, widened, segments);
    if (segments > 0) bounds = widened;
    return end;
}

Sphere Plant::boundingSphere() const {
    const Vec3 half = (bounds.max - bounds.min) * 0.5f;
    const Vec3 centre = (bounds.min + bounds.max) * 0.5f;
    return {centre, std::sqrt(half.x * half.x + half.y * half.y + half.z * half.z)};
}
