#include "app/frame.h"

#include <string>

#include "platform/opengl.h"
#include "scene/scene.h"
#include "tests/doubles/program_window.h"
#include "tests/unit/app_fixture.h"

namespace {

// A window created at tick 10,000, 320 by 200 pixels, with its context and
// font, and its first frame drawn.
class FramePass : public ShellTest {
protected:
    FramePass() {
        use(makeProgramWindow(10000, 320, 200));
        frameAtTick(10500);
        log.calls.clear();
    }

    void frameAtTick(DWORD tick) {
        fake::backend().now = tick;
        renderFrame(hwnd);
    }

    // What the scene draws for a frame at `elapsed`, from a copy of it.
    Calls sceneCalls(uint32_t elapsed) const {
        Scene copy = *currentScene;
        return callsOf([&] { copy.render(FrameInfo{Duration{elapsed}, hwnd}); });
    }

    // The counter's text, drawn at the lower-left corner.
    static Calls counterCalls(const std::string& text) {
        return {call("glMatrixMode", {GL_MODELVIEW}),
                call("glLoadIdentity"),
                call("glMatrixMode", {GL_PROJECTION}),
                call("glLoadIdentity"),
                call("glOrtho", {-1, 1, -1, 1, -1, 1}),
                call("glRasterPos2f", {-1, -1}),
                call("glListBase", {1000 - 32}),
                call("glCallLists", {double(text.size()), GL_UNSIGNED_BYTE}, text)};
    }
};

TEST_F(FramePass, DrawsSceneThenCounterThenSwaps) {
    const Calls scene = sceneCalls(600);
    frameAtTick(10600);
    const Calls expected =
        Calls{call("GetTickCount"), call("GetDC", {window}), call("wglMakeCurrent", {dc, rc()}),
              call("glViewport", {0, 0, 320, 200})} +
        scene +
        Calls{call("glColor4f", {1, 1, 1, 0.5}), call("glEnable", {GL_BLEND}),
              call("glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA})} +
        counterCalls("FPS 0") +
        Calls{call("glFinish"), call("ReleaseDC", {window, dc}), call("GetDC", {window}),
              call("SwapBuffers", {dc}), call("ReleaseDC", {window, dc})};
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(win32Record().deviceContextsHeld, 0);
    EXPECT_EQ(currentContext(), glContext.renderContext);  // stays current
}

TEST_F(FramePass, ViewportFollowsTheLatestSize) {
    clientWidth = 0;
    clientHeight = 0;
    frameAtTick(10600);
    EXPECT_EQ(log.named("glViewport"), (Calls{call("glViewport", {0, 0, 0, 0})}));
}

TEST_F(FramePass, CountsFramesOnTheClockOfWindowCreation) {
    EXPECT_EQ(frameCounter.frameCount, 1);
    frameAtTick(11000);  // 1,000 ms after creation: still the first second
    EXPECT_EQ(frameCounter.frameCount, 2);
    frameAtTick(11001);
    EXPECT_EQ(frameCounter.framesPerSecond, 2);
    EXPECT_EQ(frameCounter.mark, Duration{1001});
}

TEST_F(FramePass, ShowsTheValueFromBeforeTheFramesUpdate) {
    frameCounter = FrameRateCounter{Duration{0}, 7, 42};
    frameAtTick(11001);  // closes the second
    EXPECT_EQ(log.named("glCallLists"),
              (Calls{call("glCallLists", {5, GL_UNSIGNED_BYTE}, "FPS 7")}));
    EXPECT_EQ(frameCounter.framesPerSecond, 42);
    log.calls.clear();
    frameAtTick(11002);
    EXPECT_EQ(log.named("glCallLists"),
              (Calls{call("glCallLists", {6, GL_UNSIGNED_BYTE}, "FPS 42")}));
}

TEST_F(FramePass, ElapsedTimeSurvivesATickCounterWrap) {
    startTime = TickTime{0xFFFFFF00};
    frameCounter = {};
    frameAtTick(0x2E8);  // 0x100 + 0x2E8 = 1,000 ms after creation
    EXPECT_EQ(frameCounter.frameCount, 1);
    frameAtTick(0x2E9);
    EXPECT_EQ(frameCounter.mark, Duration{1001});
    EXPECT_EQ(frameCounter.framesPerSecond, 1);
}

}  // namespace
