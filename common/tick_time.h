#pragma once

#include <compare>
#include <cstdint>

// A span of time in unsigned 32-bit milliseconds. Arithmetic is modulo 2^32,
// so a span stays right when the tick counter wraps.
struct Duration {
    uint32_t milliseconds = 0;

    // Seconds times 1000, truncated toward zero. Spans that 32 bits cannot
    // hold saturate: negative or NaN to 0, too large to the largest span.
    static constexpr Duration fromSeconds(float seconds) {
        const double ms = static_cast<double>(seconds) * 1000.0;
        if (!(ms > 0.0)) return {};
        if (ms >= 4294967295.0) return {UINT32_MAX};
        return {static_cast<uint32_t>(ms)};
    }
    // Whole seconds times 1000, modulo 2^32.
    static constexpr Duration fromWholeSeconds(uint32_t seconds) { return {seconds * 1000u}; }

    constexpr float seconds() const { return static_cast<float>(milliseconds) / 1000.0f; }

    friend constexpr auto operator<=>(Duration, Duration) = default;
    friend constexpr Duration operator+(Duration a, Duration b) {
        return {a.milliseconds + b.milliseconds};
    }
    friend constexpr Duration operator-(Duration later, Duration earlier) {
        return {later.milliseconds - earlier.milliseconds};
    }
};

// A reading of a millisecond clock, unsigned 32 bits: the system tick counter,
// or the frame clock that counts from window creation.
struct TickTime {
    uint32_t milliseconds = 0;

    // The reading `span` after the clock's origin.
    static constexpr TickTime at(Duration span) { return {span.milliseconds}; }

    friend constexpr auto operator<=>(TickTime, TickTime) = default;
    friend constexpr TickTime operator+(TickTime t, Duration d) {
        return {t.milliseconds + d.milliseconds};
    }
    // The span from `earlier` to `later`, modulo 2^32.
    friend constexpr Duration operator-(TickTime later, TickTime earlier) {
        return {later.milliseconds - earlier.milliseconds};
    }
};
