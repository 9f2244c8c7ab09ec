#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "tests/doubles/call_log.h"
#include "tests/doubles/recording_win32.h"

namespace {

// The rendering context's teardown, registered at start-up, runs when the
// process exits: no context stays current, and the context is deleted.
TEST(ProgramExit, ReleasesTheRenderingContext) {
    const std::string renderContext =
        std::to_string(reinterpret_cast<uintptr_t>(RecordingWin32{}.renderContext));
    EXPECT_EXIT(
        {
            // Left alive for the exit handlers, which log to stderr through it.
            auto* log = new CallLog;
            log->echo = true;
            auto* win32 = new RecordingWin32;
            glContext.init(win32->window, true);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0),
        "wglMakeCurrent\\(0, 0\\).*wglDeleteContext\\(" + renderContext + "\\)");
}

}  // namespace
