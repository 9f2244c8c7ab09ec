#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "tests/doubles/call_log.h"
#include "tests/doubles/test_win32.h"

namespace {

// The rendering context's teardown, registered at start-up, runs when the
// process exits: no context stays current, and the context is deleted.
TEST(ProgramExit, ReleasesTheRenderingContext) {
    resetWin32();
    glContext = {};
    ASSERT_TRUE(glContext.init(bareWindow(), true));
    const std::string renderContext =
        std::to_string(reinterpret_cast<uintptr_t>(glContext.renderContext));
    EXPECT_EXIT(
        {
            // Left alive for the exit handlers, which log to stderr through it.
            auto* log = new CallLog;
            log->echo = true;
            std::exit(0);
        },
        ::testing::ExitedWithCode(0),
        "wglMakeCurrent\\(0, 0\\).*wglDeleteContext\\(" + renderContext + "\\)");
    glContext = {};  // nothing for this process's own exit to delete
}

}  // namespace
