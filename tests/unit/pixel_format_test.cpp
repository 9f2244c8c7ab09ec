#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "platform/common/pixel_format.h"
#include "tests/doubles/fake_backend.h"
#include "tests/doubles/recording_procedure.h"

namespace {

using fake::screenFormat;

// screenFormat(24, 8, 24) with one of its fields set to `value`.
template <typename Field>
PixelFormatDescription changed(Field PixelFormatDescription::*field, Field value) {
    PixelFormatDescription description = screenFormat(24, 8, 24);
    description.*field = value;
    return description;
}

// The format falling short one way: no candidate, or one the choice puts last.
const auto kSingleBuffered = changed(&PixelFormatDescription::doubleBuffered, false);
const auto kTranslucent = changed(&PixelFormatDescription::opaque, false);  // blended ARGB
const auto kDirectColor = changed(&PixelFormatDescription::trueColor, false);
const auto kSlow = changed(&PixelFormatDescription::slow, true);

// The program's request: 16 colour bits, 1 alpha bit, 16 depth bits, double-buffered.
PIXELFORMATDESCRIPTOR programRequest() {
    PIXELFORMATDESCRIPTOR request = windowFormatRequest(16);
    request.dwFlags |= PFD_GENERIC_FORMAT;
    request.cAlphaBits = 1;
    return request;
}

// Every description whole from the start.
class WholeTable final : public PixelFormatSource {
public:
    explicit WholeTable(const std::vector<PixelFormatDescription>& formats) : formats_(formats) {}
    size_t count() const override { return formats_.size(); }
    const PixelFormatDescription& describe(size_t index, unsigned) override {
        return formats_[index];
    }

private:
    const std::vector<PixelFormatDescription>& formats_;
};

int choose(const std::vector<PixelFormatDescription>& visuals,
           const PIXELFORMATDESCRIPTOR& request = programRequest()) {
    WholeTable table(visuals);
    return closestPixelFormat(table, request);
}

TEST(PixelFormat, IsTheOneBasedIndexOfTheVisual) {
    EXPECT_EQ(choose({screenFormat(24, 8, 24)}), 1);
    EXPECT_EQ(choose({kSingleBuffered, kSingleBuffered, screenFormat(24, 8, 24)}), 3);
}

TEST(PixelFormat, IsZeroWithoutAnyVisual) {
    EXPECT_EQ(choose({}), 0);
}

TEST(PixelFormat, IsZeroWithoutAnRgbaDoubleBufferedOpenGlVisual) {
    const PixelFormatDescription noGl = changed(&PixelFormatDescription::openGl, false);
    const PixelFormatDescription colorIndex = changed(&PixelFormatDescription::rgba, false);
    const PixelFormatDescription overlay = changed(&PixelFormatDescription::mainPlane, false);
    EXPECT_EQ(choose({noGl, colorIndex, kSingleBuffered, overlay}), 0);
}

TEST(PixelFormat, ServerWithoutGlxDescribesNoVisualAsOpenGl) {
    // What the X11 backend describes for every visual when GLX is missing.
    EXPECT_EQ(choose({PixelFormatDescription{}, PixelFormatDescription{}}), 0);
}

TEST(PixelFormat, MinimumsAreNeverAReasonToRefuse) {
    // Fewer colour, alpha and depth bits than asked for, and no depth buffer at all.
    EXPECT_EQ(choose({screenFormat(12, 0, 0)}), 1);
    PIXELFORMATDESCRIPTOR greedy = programRequest();
    greedy.cColorBits = 32;
    greedy.cDepthBits = 32;
    greedy.cStencilBits = 8;
    greedy.cAccumBits = 64;
    greedy.cAuxBuffers = 4;
    EXPECT_EQ(choose({screenFormat(24, 8, 24)}, greedy), 1);
}

TEST(PixelFormat, AVisualMeetingTheMinimumsWins) {
    EXPECT_EQ(choose({screenFormat(24, 0, 24), screenFormat(24, 8, 24)}), 2);  // alpha
    EXPECT_EQ(choose({screenFormat(24, 8, 0), screenFormat(24, 8, 16)}), 2);   // depth
    EXPECT_EQ(choose({screenFormat(12, 8, 24), screenFormat(16, 8, 24)}), 2);  // colour
}

TEST(PixelFormat, ColourThenDepthThenAlphaDecideWhenNoneMeetsAll) {
    // Each visual misses one minimum; the least important miss wins.
    EXPECT_EQ(choose({screenFormat(12, 8, 24), screenFormat(24, 8, 8), screenFormat(24, 0, 24)}),
              3);
    EXPECT_EQ(choose({screenFormat(12, 8, 24), screenFormat(24, 8, 8)}), 2);
}

TEST(PixelFormat, TheSmallerShortfallIsCloser) {
    PIXELFORMATDESCRIPTOR deep = programRequest();
    deep.cDepthBits = 32;
    EXPECT_EQ(
        choose({screenFormat(24, 8, 16), screenFormat(24, 8, 24), screenFormat(24, 8, 16)}, deep),
        2);
}

TEST(PixelFormat, UnrequestedExtrasLose) {
    EXPECT_EQ(choose({screenFormat(24, 8, 24, 8), screenFormat(24, 8, 24, 0)}), 2);  // stencil
    const PixelFormatDescription accumulating = changed(&PixelFormatDescription::accumBits, 64);
    const PixelFormatDescription multisampled = changed(&PixelFormatDescription::samples, 4);
    const PixelFormatDescription stereo = changed(&PixelFormatDescription::stereo, true);
    const PixelFormatDescription auxiliary = changed(&PixelFormatDescription::auxBuffers, 2);
    EXPECT_EQ(choose({accumulating, multisampled, stereo, auxiliary, screenFormat(24, 8, 24)}), 5);
}

TEST(PixelFormat, RequestedExtrasAreMinimumsToo) {
    PIXELFORMATDESCRIPTOR stencilled = programRequest();
    stencilled.cStencilBits = 8;
    EXPECT_EQ(choose({screenFormat(24, 8, 24, 0), screenFormat(24, 8, 24, 8)}, stencilled), 2);
    PIXELFORMATDESCRIPTOR accumulating = programRequest();
    accumulating.cAccumRedBits = 16;
    const PixelFormatDescription withAccum = changed(&PixelFormatDescription::accumBits, 64);
    EXPECT_EQ(choose({screenFormat(24, 8, 24), withAccum}, accumulating), 2);
}

TEST(PixelFormat, OpaqueTrueColorUnratedVisualsComeBeforeAnyBitCount) {
    EXPECT_EQ(choose({kTranslucent, kDirectColor, kSlow, screenFormat(12, 0, 16)}), 4);
    EXPECT_EQ(choose({kTranslucent, kDirectColor, kSlow}), 3);
    EXPECT_EQ(choose({kTranslucent, kDirectColor}), 2);
}

TEST(PixelFormat, ADepthBufferAskedForComesBeforeEverythingElse) {
    PixelFormatDescription translucentSlow = kTranslucent;
    translucentSlow.slow = true;
    EXPECT_EQ(choose({screenFormat(24, 8, 0), translucentSlow}), 2);
    PIXELFORMATDESCRIPTOR noDepth = programRequest();
    noDepth.cDepthBits = 0;
    EXPECT_EQ(choose({screenFormat(24, 8, 0), translucentSlow}, noDepth), 1);
}

TEST(PixelFormat, EqualVisualsKeepTheServersOrder) {
    EXPECT_EQ(choose({screenFormat(24, 8, 24), screenFormat(24, 8, 24)}), 1);
    // More than asked for of colour, alpha or depth is no worse.
    EXPECT_EQ(choose({screenFormat(24, 8, 24), screenFormat(16, 1, 16)}), 1);
}

TEST(PixelFormat, CandidatesAreExactlyTheRenderableOnes) {
    EXPECT_TRUE(isPixelFormatCandidate(screenFormat(24, 8, 24)));
    PixelFormatDescription translucentSlow = screenFormat(12, 0, 0);
    translucentSlow.opaque = false;
    translucentSlow.slow = true;
    EXPECT_TRUE(isPixelFormatCandidate(translucentSlow));
    EXPECT_FALSE(isPixelFormatCandidate(kSingleBuffered));
}

TEST(PixelFormat, OpaqueTrueColorLeadsWithACandidateThatHasADepthBuffer) {
    EXPECT_TRUE(opaqueTrueColorLeads(std::vector{kDirectColor, screenFormat(16, 0, 16)}));
    EXPECT_FALSE(
        opaqueTrueColorLeads(std::vector{kDirectColor, kTranslucent, screenFormat(24, 8, 0)}));
    EXPECT_FALSE(opaqueTrueColorLeads(std::vector{kSingleBuffered}));
    EXPECT_FALSE(opaqueTrueColorLeads(std::vector<PixelFormatDescription>{}));
}

// Descriptions read as the layer reads them, from the fake backend's `whole`
// table: identity first, the rest part by part.
PixelFormatTable readFrom(const std::vector<PixelFormatDescription>& whole) {
    fake::backend().formats = whole;
    return PixelFormatTable();
}

TEST(PixelFormat, AChoiceReadsOnlyThePartsThatDecideIt) {
    PixelFormatTable led = readFrom({kTranslucent, screenFormat(24, 8, 24), kDirectColor});
    EXPECT_EQ(closestPixelFormat(led, programRequest()), 2);
    // The one opaque TrueColor candidate wins on candidacy alone.
    EXPECT_EQ(led.partsRead(), (std::vector<unsigned>{kIdentityPart, kIdentityPart | kCandidacyPart,
                                                      kIdentityPart}));

    PixelFormatTable rated = readFrom({kSlow, screenFormat(24, 8, 24)});
    EXPECT_EQ(closestPixelFormat(rated, programRequest()), 2);
    EXPECT_EQ(rated.partsRead(),
              (std::vector<unsigned>{kIdentityPart | kCandidacyPart | kRatingPart,
                                     kIdentityPart | kCandidacyPart | kRatingPart}));

    // Equal visuals are read on every key, but for counts not asked for.
    PixelFormatTable equal = readFrom({screenFormat(24, 8, 24), screenFormat(24, 8, 24)});
    PIXELFORMATDESCRIPTOR plain = programRequest();
    plain.cColorBits = 0;
    plain.cAlphaBits = 0;
    EXPECT_EQ(closestPixelFormat(equal, plain), 1);
    const unsigned notAskedFor = kColorPart | kAlphaPart;
    EXPECT_EQ(equal.partsRead()[0], kAllParts & ~notAskedFor);
    EXPECT_EQ(equal.partsRead()[1], kAllParts & ~notAskedFor);
}

// A table read as the layer reads it chooses as the whole table does, for
// any request and any number of requests in a row: visuals not read, or
// read only in part, never change a choice.
TEST(PixelFormat, ReadingOnlyWhatChoicesAskChangesNoChoice) {
    int tablesLed = 0;
    std::minstd_rand random(12345);
    const auto next = [&](uint32_t range) { return static_cast<int>(random() % range); };
    for (int table = 0; table < 300; ++table) {
        std::vector<PixelFormatDescription> whole;
        for (int i = next(12); i > 0; --i) {
            PixelFormatDescription v = screenFormat(8 * next(4), next(9), 8 * next(4), 8 * next(2));
            v.doubleBuffered = next(4) != 0;
            v.opaque = next(3) != 0;
            v.trueColor = next(3) != 0;
            v.slow = next(5) == 0;
            v.stereo = next(6) == 0;
            v.accumBits = 16 * next(3);
            v.auxBuffers = next(2);
            v.samples = 4 * next(2);
            whole.push_back(v);
        }
        tablesLed += opaqueTrueColorLeads(whole);
        PixelFormatTable lazy = readFrom(whole);
        for (int request = 0; request < 20; ++request) {
            PIXELFORMATDESCRIPTOR r = programRequest();
            r.cColorBits = static_cast<BYTE>(8 * next(5));
            r.cAlphaBits = static_cast<BYTE>(next(9));
            r.cDepthBits = static_cast<BYTE>(8 * next(4));
            r.cStencilBits = static_cast<BYTE>(8 * next(2));
            r.cAccumBits = static_cast<BYTE>(16 * next(3));
            r.cAuxBuffers = static_cast<BYTE>(next(2));
            ASSERT_EQ(closestPixelFormat(lazy, r), choose(whole, r)) << "table " << table;
        }
    }
    // Both ways of the first reading were tried.
    EXPECT_GT(tablesLed, 50);
    EXPECT_LT(tablesLed, 250);
}

}  // namespace
