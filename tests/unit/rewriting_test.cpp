#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "plant/plant.h"
#include "plant/rule_set.h"

namespace {

std::string grow(int32_t depth) {
    return Plant(builtInAxiom(), 4, builtInRules, depth, 1.0f).text;
}

std::string grow(const char* axiom, std::vector<const char*> rules, int32_t depth) {
    return Plant(axiom, static_cast<int32_t>(rules.size()), rules.data(), depth, 1.0f).text;
}

// Parallel rewriting, one generation at a time, cut at `limit` symbols: the
// definition that the depth-first expansion must agree with.
std::string rewriteInParallel(std::string text, std::vector<const char*> rules, int depth,
                              size_t limit) {
    for (int generation = 0; generation < depth; ++generation) {
        std::string next;
        for (char symbol : text) {
            const auto rule = std::find_if(rules.begin(), rules.end(),
                                           [&](const char* r) { return r[0] == symbol; });
            next += rule != rules.end() ? std::string(*rule + 1) : std::string(1, symbol);
            if (next.size() >= limit) break;
        }
        text = next.substr(0, std::min(next.size(), limit));
    }
    return text;
}

std::string rewriteInParallel(std::string text, int depth, size_t limit) {
    return rewriteInParallel(std::move(text), {std::begin(builtInRules), std::end(builtInRules)},
                             depth, limit);
}

constexpr size_t kCapacity = kExpansionBufferSize - 1;

TEST(BuiltInExpansion, HasTheKnownLengthAtEveryDepthInUse) {
    const size_t lengths[] = {25, 82, 403, 2269, 10231, 48034, 227959, 1068715};
    for (int32_t depth = 0; depth <= 7; ++depth)
        EXPECT_EQ(grow(depth).size(), lengths[depth]) << depth;
}

TEST(BuiltInExpansion, HasTheKnownSymbolCounts) {
    struct Counts {
        char symbol;
        long atDepth[3];  // 3, 4 and 5
    };
    const Counts table[] = {
        {'T', {151, 709, 3466}},  {'t', {46, 197, 906}},    {'S', {36, 162, 810}},
        {'.', {404, 1738, 8058}}, {'<', {270, 1191, 5535}}, {'>', {270, 1191, 5535}},
        {'[', {366, 1665, 7866}}, {']', {366, 1665, 7866}}, {'v', {180, 813, 3753}},
        {'s', {126, 648, 2943}},  {'q', {54, 252, 1296}},
    };
    for (int depth = 3; depth <= 5; ++depth) {
        const std::string text = grow(depth);
        for (const Counts& c : table)
            EXPECT_EQ(std::ranges::count(text, c.symbol), c.atDepth[depth - 3])
                << c.symbol << " at depth " << depth;
    }
}

TEST(BuiltInExpansion, EqualsParallelRewriting) {
    for (int depth : {1, 2, 5}) {
        EXPECT_EQ(grow(depth), rewriteInParallel(builtInAxiom(), depth, SIZE_MAX)) << depth;
    }
}

TEST(BuiltInExpansion, AxiomPointsIntoRuleZero) {
    EXPECT_EQ(builtInAxiom(), builtInRules[0] + 1);
    EXPECT_STREQ(builtInAxiom(), "t..T[.v][..<<<v][...>>>v]");
}

TEST(Rewriting, DepthZeroCopiesTheAxiom) {
    EXPECT_EQ(grow(0), builtInAxiom());
    EXPECT_EQ(grow("ab", {"ax"}, 0), "ab");
}

TEST(Rewriting, NegativeDepthMeansZero) {
    EXPECT_EQ(grow(-1), builtInAxiom());
    EXPECT_EQ(grow(INT_MIN), builtInAxiom());
}

TEST(Rewriting, EmptyOrMissingAxiomGivesEmptyText) {
    for (int32_t depth : {0, 1, 7}) EXPECT_EQ(grow("", {"ab"}, depth), "") << depth;
    EXPECT_EQ(grow(nullptr, {"ab"}, 3), "");
}

TEST(Rewriting, WithoutRulesCopiesTheAxiom) {
    EXPECT_EQ(grow("T[v]s", {}, 5), "T[v]s");
    EXPECT_EQ(Plant("Tv", -3, builtInRules, 5, 1.0f).text, std::string("Tv"));
    EXPECT_EQ(Plant("Tv", INT_MIN, builtInRules, 5, 1.0f).text, std::string("Tv"));
    EXPECT_EQ(Plant("Tv", 4, nullptr, 5, 1.0f).text, std::string("Tv"));
}

TEST(Rewriting, FirstMatchingRuleWins) {
    EXPECT_EQ(grow("aba", {"ax", "ay", "bz"}, 1), "xzx");
}

TEST(Rewriting, SymbolsWithoutRulesStayAtEveryDepth) {
    EXPECT_EQ(grow("t.S[<>]a", {"aab"}, 3), "t.S[<>]abbb");
}

TEST(Rewriting, EmptySuccessorRemovesItsPredecessor) {
    for (int32_t depth : {1, 2, 6}) EXPECT_EQ(grow("xaxa", {"a"}, depth), "xx") << depth;
    EXPECT_EQ(grow("xaxa", {"a"}, 0), "xaxa");
}

TEST(Rewriting, EmptyAndNullRulesAreIgnored) {
    EXPECT_EQ(grow("ab", {"", nullptr, "bc"}, 1), "ac");
}

TEST(Rewriting, EachPlantKeepsItsOwnTextAndTheBufferIsShared) {
    const Plant first(builtInAxiom(), 4, builtInRules, 5, 1.0f);
    char* const buffer = expansionBuffer;
    const std::string firstText = first.text;
    const Plant second(builtInAxiom(), 4, builtInRules, 3, 1.0f);
    EXPECT_EQ(expansionBuffer, buffer);
    EXPECT_EQ(first.text, firstText);
    EXPECT_EQ(std::string(second.text).size(), 2269u);
    EXPECT_NE(first.text, static_cast<const char*>(expansionBuffer));
    EXPECT_NE(second.text, first.text);
}

TEST(Rewriting, ConstructionLeavesTheDrawingStateFresh) {
    const Plant plant(builtInAxiom(), 4, builtInRules, 2, 0.5f);
    EXPECT_EQ(plant.stepLength, 0.5f);
    EXPECT_EQ(plant.rules, builtInRules);
    EXPECT_EQ(plant.ruleCount, 4);
    EXPECT_EQ(plant.beginTime, TickTime{});
    EXPECT_EQ(plant.age, Duration{});
    EXPECT_EQ(plant.bounds.min, (Vec3{FLT_MAX, FLT_MAX, FLT_MAX}));
    EXPECT_EQ(plant.bounds.max, (Vec3{-FLT_MAX, -FLT_MAX, -FLT_MAX}));
}

TEST(RewritingBounds, ExpansionTooLargeIsCutAtTheBufferCapacity) {
    const std::string depth8 = grow(8);
    ASSERT_EQ(depth8.size(), kCapacity);
    EXPECT_TRUE(depth8 == rewriteInParallel(builtInAxiom(), 8, kCapacity));
}

TEST(Rewriting, RepeatedSubExpansionsEqualParallelRewritingAtAnyDepth) {
    // Fibonacci words: every symbol recurs at every depth, deeper than the
    // depths whose expansions are copied, and one expansion ends empty.
    const std::vector<const char*> rules{"aab", "ba", "c"};
    for (int depth : {1, 7, 8, 9, 24}) {
        EXPECT_EQ(grow("cabca", rules, depth), rewriteInParallel("cabca", rules, depth, SIZE_MAX))
            << depth;
    }
}

TEST(RewritingBounds, CopiedExpansionIsCutAtTheBufferCapacity) {
    const std::vector<const char*> rules{"aab", "ba"};
    const std::string capped = grow("b", rules, 40);
    ASSERT_EQ(capped.size(), kCapacity);
    EXPECT_TRUE(capped == rewriteInParallel("b", rules, 40, kCapacity));
}

TEST(RewritingBounds, ExpansionFarBeyondTheBufferFinishes) {
    EXPECT_EQ(grow(1000).size(), kCapacity);
    EXPECT_EQ(grow(INT_MAX).size(), kCapacity);
    const std::string doubled = grow("a", {"aaa"}, INT_MAX);
    EXPECT_EQ(doubled.size(), kCapacity);
    EXPECT_EQ(doubled.find_first_not_of('a'), std::string::npos);
}

TEST(RewritingBounds, DepthIsBoundedSoChainsCannotExhaustTheStack) {
    // Each symbol rewrites to one: as deep as the depth, with nothing to fill the buffer.
    EXPECT_EQ(grow("a", {"ab", "ba"}, kMaxRewritingDepth), "a");
    EXPECT_EQ(grow("a", {"ab", "ba"}, kMaxRewritingDepth - 1), "b");
    EXPECT_EQ(grow("a", {"ab", "ba"}, INT_MAX), grow("a", {"ab", "ba"}, kMaxRewritingDepth));
}

TEST(RewritingBounds, WorkThatWritesNothingStopsAtTheStepBudget) {
    // 2^40 symbols that all vanish: only the step budget ends this.
    std::vector<std::string> rules;
    for (int level = 0; level < 40; ++level) {
        const char symbol = static_cast<char>('a' + level), next = static_cast<char>(symbol + 1);
        rules.push_back(std::string{symbol, next, next});
    }
    rules.push_back(std::string{static_cast<char>('a' + 40)});
    std::vector<const char*> pointers;
    for (const std::string& r : rules) pointers.push_back(r.c_str());
    EXPECT_EQ(grow("a", pointers, 41), "");
    EXPECT_EQ(grow("a", pointers, 2), "cccc");
}

TEST(RewritingBounds, ExpandWritesNothingOutsideTheBuffer) {
    const Plant plant(builtInAxiom(), 4, builtInRules, 1, 1.0f);
    char* const end = expansionBuffer + kExpansionBufferSize - 1;
    EXPECT_EQ(plant.expand(end, "T", 3), end);
    EXPECT_EQ(plant.expand(end + 1, "T", 3), end + 1);
    char outside[8] = "";
    EXPECT_EQ(plant.expand(outside, "T", 3), outside);
    EXPECT_STREQ(outside, "");
    EXPECT_EQ(plant.expand(expansionBuffer, nullptr, 3), expansionBuffer);
    EXPECT_EQ(plant.expand(end - 2, "T", 1) - (end - 2), 2);
}

TEST(Durations, ConvertAndWrapAsUnsigned32BitMilliseconds) {
    EXPECT_EQ(Duration::fromSeconds(1.5f).milliseconds, 1500u);
    EXPECT_EQ(Duration::fromSeconds(0.0019f).milliseconds, 1u);
    EXPECT_EQ(Duration::fromSeconds(-2.0f).milliseconds, 0u);
    EXPECT_EQ(Duration::fromSeconds(1e30f).milliseconds, UINT32_MAX);
    EXPECT_EQ(Duration::fromWholeSeconds(1).milliseconds, 1000u);
    EXPECT_EQ(Duration{2500}.seconds(), 2.5f);
    EXPECT_EQ((TickTime{5} - TickTime{UINT32_MAX - 4}).milliseconds, 10u);
    EXPECT_EQ((Duration{3} - Duration{5}).milliseconds, UINT32_MAX - 1);
    EXPECT_EQ((TickTime{UINT32_MAX} + Duration{2}).milliseconds, 1u);
    EXPECT_LT(Duration{1}, Duration{UINT32_MAX});
}

}  // namespace
