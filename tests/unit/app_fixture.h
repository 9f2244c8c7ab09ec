#pragma once

// What the shell's tests share: the program's globals put back to their
// state at start, on the recording OpenGL and Win32.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "app/globals.h"
#include "scene/drag.h"
#include "tests/doubles/call_log.h"
#include "tests/doubles/recording_win32.h"

class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        startTime = {};
        frameCounter = {};
        glContext = {};
        font = {};
        dragState = {};
        clientWidth = 0;
        clientHeight = 0;
    }
    // The program never frees the font's widths; a test does, since the
    // next one builds the font again.
    ~ShellTest() override { delete[] font.charWidths; }

    CallLog log;
    RecordingWin32 win32;
    const double window = logged(win32.window);
    const double dc = logged(win32.deviceContext);
    const double rc = logged(win32.renderContext);
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
