#pragma once

// The clock the floor benchmarks time with: the system's monotonic clock
// with the finest resolution it has (bench_clock_linux.cpp,
// bench_clock_windows.cpp).

// Microseconds from some fixed moment: only differences mean anything.
double nowMicroseconds();

inline double microsecondsSince(double start) {
    return nowMicroseconds() - start;
}
