#pragma once

// What the shell's tests share: the program's globals put back to their
// state at start, on the recording OpenGL and the test Win32, with a window
// to call on.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "app/globals.h"
#include "scene/drag.h"
#include "tests/doubles/call_log.h"
#include "tests/doubles/program_start.h"
#include "tests/doubles/test_win32.h"
#include "tests/unit/window_calls.h"

class ShellTest : public WindowCalls {
protected:
    ShellTest() { restoreProgramStart(); }
    // Frees the font's widths, which the program never frees.
    ~ShellTest() override { restoreProgramStart(); }

    // The program's rendering context, once made.
    double rc() const { return logged(glContext.renderContext); }
};

// The calls of `calls` with one of `names`, in order.
inline Calls only(const Calls& calls, std::initializer_list<std::string_view> names) {
    Calls kept;
    for (const Call& c : calls)
        if (std::find(names.begin(), names.end(), c.name) != names.end()) kept.push_back(c);
    return kept;
}

// The index of the first call named `name`, or calls.size().
inline size_t firstIndex(const Calls& calls, std::string_view name) {
    return std::find_if(calls.begin(), calls.end(), [&](const Call& c) { return c.name == name; }) -
           calls.begin();
}
