#pragma once

#include <cstdint>

// An ordered array of rewriting rules. A rule is a NUL-terminated string: its
// first character is the predecessor, the rest (maybe empty) the successor.
// When two rules share a predecessor the one with the lower index wins.
struct RuleSet {
    const char* const* rules;
    int32_t ruleCount;
};

// The rules both of the program's plants grow by.
inline constexpr const char* builtInRules[] = {
    "Tt..T[.v][..<<<v][...>>>v]",
    "vv[>s]v[<s]Ts",
    "s.T[q]>T[q]<T[S]",
    "q[<<<s][>>>s]",
};

constexpr RuleSet builtInRuleSet() {
    return {builtInRules, 4};
}

// The axiom of the built-in plants: rule 0's successor, pointing into its string.
constexpr const char* builtInAxiom() {
    return builtInRules[0] + 1;
}
