#pragma once

#include <cstddef>
#include <cstdint>

#include "common/bounds.h"
#include "common/frame_info.h"
#include "common/sphere.h"
#include "common/tick_time.h"
#include "common/vec3.h"
#include "plant/rotation.h"

// The scratch area every plant construction expands into, from its first
// byte. Allocated by the first construction, never released.
inline constexpr size_t kExpansionBufferSize = size_t{4} * 1024 * 1024;
extern char* expansionBuffer;

// Bounds on what a rule set can ask for, so that no axiom, rule set or depth
// can exhaust the stack or the processor:
// - a depth is taken as 0 when negative and as kMaxRewritingDepth when larger;
// - rewriting stops when the buffer is full (kExpansionBufferSize - 1 symbols)
//   or after kMaxRewritingSteps symbols read (a symbol whose expansion is
//   copied from earlier in the buffer counts as one), whichever comes first,
//   keeping what it wrote: the text is then a prefix of the full expansion;
// - a branch opened with kMaxBranchNesting branches open is skipped when drawing.
// The built-in plants come nowhere near any of them (depth 5, 6 levels).
inline constexpr int32_t kMaxRewritingDepth = 1024;
inline constexpr uint32_t kMaxRewritingSteps = 64u * 1024 * 1024;
inline constexpr int kMaxBranchNesting = 256;

// The turtle: where the next segment starts, and its direction and length
// unit. Copied into every branch.
struct TurtleState {
    Vec3 position;
    Vec3 heading;
};

// A figure grown once by rewriting an axiom, drawn every frame by a turtle
// as coloured line segments that sway with the plant's age.
struct Plant {
    const char* text;          // the expansion, owned; never changed
    float stepLength;          // length of every segment
    const char* const* rules;  // read only during construction
    int32_t ruleCount;
    TickTime beginTime;  // on the frame clock; nothing is drawn before it
    Duration age;        // from beginTime to the latest frame that drew
    Bounds bounds;       // of every vertex of the latest drawing pass

    // Expands `axiom` `depth` times by `rules` (neither is kept).
    Plant(const char* axiom, int32_t ruleCount, const char* const* rules, int32_t depth,
          float stepLength);

    // Writes the expansion of `in` at `depth` from `out`, which points into
    // expansionBuffer; returns the end of what it wrote (no terminator).
    char* expand(char* out, const char* in, int32_t depth) const;

    void setBeginTime(TickTime time) { beginTime = time; }

    // Draws the plant for the frame's elapsed time; needs a current context.
    void draw(const FrameInfo& frameInfo);

    // Walks the text from `cursor` with `turtle`, emitting segments. Returns
    // the position after the "]" that ended the walk, or nullptr at the end.
    const char* interpret(const char* cursor, TurtleState turtle);

    // The sphere around `bounds`.
    Sphere boundingSphere() const;
};
