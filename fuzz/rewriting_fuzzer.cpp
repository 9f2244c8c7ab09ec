// Grows a plant from any axiom, rule set, depth and step length, and draws it
// at any age on the recording OpenGL. Checks that the text fits the buffer
// and is the expansion (or, when cut short, its beginning), that every segment
// is one glBegin(GL_LINES) with two vertices, that the bounds are exactly
// those of the vertices drawn, and that a plain recursive walk of the text
// finds as many segments, in the same styles.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/invariant.h"
#include "plant/plant.h"
#include "platform/opengl.h"
#include "tests/doubles/call_log.h"

namespace {

constexpr size_t kMaxRules = 16;
constexpr size_t kMaxTextLength = kExpansionBufferSize - 1;  // and the terminator
// Texts up to this length are drawn with every call logged and checked;
// longer ones are drawn unlogged, for the sanitizers alone.
constexpr size_t kLoggedTextLength = 16 * 1024;
// The reference expansion's limits: it checks at most this much of the text,
// and gives up after reading this many symbols or at a deeper depth.
constexpr size_t kReferenceLength = 64 * 1024;
constexpr size_t kReferenceReads = 1024 * 1024;
constexpr int32_t kReferenceDepth = 64;

struct Input {
    std::string axiom;
    std::vector<std::string> rules;
    int32_t ruleCount;  // may be 0 or negative: no rules
    int32_t depth;
    float stepLength;
    uint32_t beginTime;
    uint32_t elapsed[2];  // two frames
};

Input decode(FuzzedDataProvider& data) {
    Input input;
    input.depth = data.ConsumeIntegral<int32_t>();
    input.stepLength = std::bit_cast<float>(data.ConsumeIntegral<uint32_t>());
    input.beginTime = data.ConsumeIntegral<uint32_t>();
    input.elapsed[0] = data.ConsumeIntegral<uint32_t>();
    input.elapsed[1] = data.ConsumeIntegral<uint32_t>();
    const int32_t count = data.ConsumeIntegralInRange<int32_t>(-1, kMaxRules);
    input.ruleCount = count;
    for (int32_t i = 0; i < count; ++i) input.rules.push_back(data.ConsumeRandomLengthString(64));
    input.axiom = data.ConsumeRandomLengthString();
    return input;
}

// ---- The reference: rewriting and walking as plainly as they can be said.

// The expansion of `in` at `depth`, symbol by symbol, as long as it stays
// within the reference's limits; `complete` when it ran to the end.
class ReferenceExpansion {
public:
    ReferenceExpansion(const std::vector<const char*>& rules, int32_t ruleCount)
        : rules_(rules), ruleCount_(ruleCount) {}

    void expand(const char* in, int32_t depth) {
        for (; *in && withinLimits(); ++in) {
            ++reads_;
            const char* successor = depth != 0 ? successorOf(*in) : nullptr;
            if (successor) {
                expand(successor, depth - 1);
            } else {
                text.push_back(*in);
            }
        }
    }

    bool withinLimits() const { return text.size() < kReferenceLength && reads_ < kReferenceReads; }

    std::string text;

private:
    const char* successorOf(char symbol) const {
        for (int32_t i = 0; i < ruleCount_; ++i) {
            if (rules_[i][0] == symbol) return rules_[i] + 1;
        }
        return nullptr;
    }

    const std::vector<const char*>& rules_;
    int32_t ruleCount_;
    size_t reads_ = 0;
};

// The drawing symbols of one walk in order; nullopt when the branches nest
// deeper than the turtle keeps turtles for.
class ReferenceWalk {
public:
    explicit ReferenceWalk(const char* text) { walk(text, 0); }
    std::optional<std::string> symbols() const {
        return tooDeep_ ? std::nullopt : std::optional(symbols_);
    }

private:
    // Returns past the "]" that ends the walk, or nullptr at the end.
    const char* walk(const char* cursor, int open) {
        for (;;) {
            const char symbol = *cursor++;
            switch (symbol) {
                case '\0': return nullptr;
                case 'T':
                case 't':
                case 'S':
                case 'L': symbols_.push_back(symbol); break;
                case '[':
                    if (open == kMaxBranchNesting) {
                        tooDeep_ = true;
                        return nullptr;
                    }
                    cursor = walk(cursor, open + 1);
                    if (!cursor) return nullptr;
                    break;
                case ']': return cursor;
                default: break;
            }
        }
    }

    std::string symbols_;
    bool tooDeep_ = false;
};

// ---- The checks.

void checkText(const Plant& plant, const Input& input, const std::vector<const char*>& rules) {
    const size_t length = std::strlen(plant.text);
    require(length <= kMaxTextLength, "the text fits the expansion buffer");
    if (input.depth <= 0) {
        require(plant.text == std::string(input.axiom.c_str()), "depth 0 or less keeps the axiom");
        return;
    }
    if (input.depth > kReferenceDepth) return;
    ReferenceExpansion reference(rules, input.ruleCount);
    reference.expand(input.axiom.c_str(), input.depth);
    const std::string& expected = reference.text;
    if (reference.withinLimits()) {
        require(plant.text == expected, "the text is the expansion");
    } else {
        // Cut short by the limits of one or the other: the text begins the expansion.
        const size_t compared = std::min(length, expected.size());
        require(std::memcmp(plant.text, expected.data(), compared) == 0,
                "the text begins as the expansion does");
    }
}

struct Style {
    float width, r, g, b;
};

Style styleOf(char symbol) {
    switch (symbol) {
        case 'S': return {2.0f, 0.3f, 1.0f, 0.3f};
        case 'L': return {3.0f, 0.6f, 0.6f, 0.9f};
        default: return {2.0f, 0.7f, 0.6f, 0.5f};
    }
}

bool sameAsFloat(double logged, float expected) {
    return logged == static_cast<double>(expected);
}

// Bounds of the logged vertices as the plant keeps them: a NaN coordinate
// widens nothing.
void widen(Bounds& bounds, const Call& vertex) {
    const double* v = vertex.args.data();
    auto lower = [](float current, double value) {
        return std::isnan(value) ? current : std::min(current, static_cast<float>(value));
    };
    auto upper = [](float current, double value) {
        return std::isnan(value) ? current : std::max(current, static_cast<float>(value));
    };
    bounds.min = {lower(bounds.min.x, v[0]), lower(bounds.min.y, v[1]), lower(bounds.min.z, v[2])};
    bounds.max = {upper(bounds.max.x, v[0]), upper(bounds.max.y, v[1]), upper(bounds.max.z, v[2])};
}

void checkSegment(const Calls& calls, size_t at, char symbol, Bounds& bounds) {
    const Style style = styleOf(symbol);
    const Call& width = calls[at];
    const Call& colour = calls[at + 1];
    require(width.name == "glLineWidth" && sameAsFloat(width.args[0], style.width),
            "the segment's width");
    require(colour.name == "glColor3f" && sameAsFloat(colour.args[0], style.r) &&
                sameAsFloat(colour.args[1], style.g) && sameAsFloat(colour.args[2], style.b),
            "the segment's colour");
    require(calls[at + 2] == call("glBegin", {GL_LINES}), "each segment begins GL_LINES");
    require(calls[at + 3].name == "glVertex3f" && calls[at + 4].name == "glVertex3f",
            "each segment has two vertices");
    require(calls[at + 5] == call("glEnd"), "each segment ends");
    widen(bounds, calls[at + 3]);
    widen(bounds, calls[at + 4]);
}

bool operator==(const Bounds& a, const Bounds& b) {
    return a.min == b.min && a.max == b.max;
}

void checkDrawing(const Plant& plant, const Calls& calls, const std::string& symbols) {
    constexpr size_t kSegmentCalls = 6;
    require(calls.size() == 2 + symbols.size() * kSegmentCalls,
            "as many segments as the reference walk draws, and nothing else");
    require(calls[0] == call("glDisable", {GL_CULL_FACE}), "culling off first");
    require(calls[1] == call("glPolygonMode", {GL_FRONT, GL_FILL}), "filled front faces next");
    Bounds drawn;
    for (size_t i = 0; i < symbols.size(); ++i) {
        checkSegment(calls, 2 + i * kSegmentCalls, symbols[i], drawn);
    }
    require(plant.bounds == drawn, "the bounds are those of the vertices drawn");
}

// One frame at `elapsed`: nothing before the begin time; else a full pass.
void drawFrame(Plant& plant, uint32_t elapsed, const std::optional<std::string>& symbols) {
    const Duration ageBefore = plant.age;
    const Bounds boundsBefore = plant.bounds;
    const FrameInfo frame{Duration{elapsed}, nullptr};
    if (!symbols) {
        plant.draw(frame);  // unlogged: the sanitizers watch
        return;
    }
    CallLog log;
    plant.draw(frame);
    if (elapsed < plant.beginTime.milliseconds) {
        require(log.calls.empty(), "no call before the begin time");
        require(plant.age == ageBefore && plant.bounds == boundsBefore,
                "age and bounds kept before the begin time");
        return;
    }
    require(plant.age.milliseconds == elapsed - plant.beginTime.milliseconds,
            "the age counts from the begin time");
    checkDrawing(plant, log.calls, *symbols);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const Input input = decode(data);
    std::vector<const char*> rules;
    for (const std::string& rule : input.rules) rules.push_back(rule.c_str());

    Plant plant(input.axiom.c_str(), input.ruleCount, rules.data(), input.depth, input.stepLength);
    require(Bounds{} == plant.bounds && plant.age.milliseconds == 0, "a new plant is empty");
    checkText(plant, input, rules);

    // Long texts are only walked: their calls would not fit in a log.
    std::optional<std::string> symbols;
    if (std::strlen(plant.text) <= kLoggedTextLength) {
        symbols = ReferenceWalk(plant.text).symbols();
    }
    plant.setBeginTime(TickTime{input.beginTime});
    for (uint32_t elapsed : input.elapsed) drawFrame(plant, elapsed, symbols);

    std::free(const_cast<char*>(plant.text));
    return 0;
}
