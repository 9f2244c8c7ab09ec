#include "app/window_procedure.h"

#include "app/exit_code.h"
#include "platform/opengl.h"
#include "scene/scene.h"
#include "tests/doubles/fake_backend.h"
#include "tests/unit/app_fixture.h"

namespace {

class WindowProcedure : public ShellTest {
protected:
    LRESULT send(UINT message, LPARAM lParam = 0, WPARAM wParam = 0) {
        return windowProcedure(hwnd, message, wParam, lParam);
    }
};

TEST_F(WindowProcedure, SizeStoresTheClientArea) {
    EXPECT_EQ(send(WM_SIZE, packPoint(640, 480)), 0);
    EXPECT_EQ(clientWidth, 640);
    EXPECT_EQ(clientHeight, 480);
    EXPECT_EQ(log.calls, Calls{});
    send(WM_SIZE, packPoint(0, 0));  // minimised
    EXPECT_EQ(clientWidth, 0);
    EXPECT_EQ(clientHeight, 0);
}

TEST_F(WindowProcedure, HalvesWithTheHighBitSetArriveAsLargePositiveInts) {
    send(WM_SIZE, packPoint(0xFFFF, 0x8000));
    EXPECT_EQ(clientWidth, 65535);
    EXPECT_EQ(clientHeight, 32768);
    // A negative lParam, as a 32-bit Windows passes 0xFFFFFFFF.
    send(WM_SIZE, -1);
    EXPECT_EQ(clientWidth, 65535);
    EXPECT_EQ(clientHeight, 65535);
    EXPECT_EQ(send(WM_LBUTTONDOWN, packPoint(0xFFFF, 0xFFFE)), 0);
    EXPECT_EQ(dragState.startX, 65535);
    EXPECT_EQ(dragState.startY, 65534);
}

TEST_F(WindowProcedure, LeftButtonDragTurnsTheCamera) {
    currentScene->camera.setAngles(OrbitAngles(20, 45));
    EXPECT_EQ(send(WM_LBUTTONDOWN, packPoint(100, 50)), 0);
    EXPECT_TRUE(dragState.active);
    EXPECT_EQ(dragState.startX, 100);
    EXPECT_EQ(dragState.startY, 50);
    EXPECT_EQ(send(WM_MOUSEMOVE, packPoint(110, 45)), 0);
    EXPECT_EQ(currentScene->camera.angles, OrbitAngles(10, 40));
    EXPECT_EQ(send(WM_LBUTTONUP, packPoint(110, 45)), 0);
    EXPECT_FALSE(dragState.active);
    send(WM_MOUSEMOVE, packPoint(0, 0));  // no drag: no turn
    EXPECT_EQ(currentScene->camera.angles, OrbitAngles(10, 40));
    EXPECT_EQ(log.calls, Calls{});
}

TEST_F(WindowProcedure, CloseRequestsQuitWithoutDestroyingTheWindow) {
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_EQ(log.calls, (Calls{call("PostQuitMessage", {0})}));
    EXPECT_EQ(postedQuitCode(), WPARAM{0});
}

TEST_F(WindowProcedure, PaintRunsOneFrame) {
    glContext.init(hwnd, true);
    log.calls.clear();
    EXPECT_EQ(send(WM_PAINT), 0);
    EXPECT_EQ(log.calls.front(), call("GetTickCount"));
    EXPECT_EQ(log.count("glFinish"), 1u);
    EXPECT_EQ(log.calls.back(), call("ReleaseDC", {window, dc}));
    EXPECT_EQ(log.count("SwapBuffers"), 1u);
}

TEST_F(WindowProcedure, OtherMessagesGetTheDefaultHandling) {
    constexpr UINT kKeyDown = 0x0100;
    // DefWindowProcA's result, which is 0 for these.
    EXPECT_EQ(send(kKeyDown, 0x1234, 0x41), 0);
    EXPECT_EQ(log.calls, (Calls{call("DefWindowProcA", {window, kKeyDown, 0x41, 0x1234})}));
    log.calls.clear();
    EXPECT_EQ(send(WM_QUIT, 0, 3), 0);
    EXPECT_EQ(log.calls, (Calls{call("DefWindowProcA", {window, WM_QUIT, 3, 0})}));
}

TEST_F(WindowProcedure, CreationStartsTheClockAndMakesContextAndFont) {
    fake::backend().now = 123456;
    EXPECT_EQ(send(WM_CREATE), 0);
    EXPECT_EQ(log.calls, Calls{call("GetTickCount")} + contextInitCalls(window, dc) +
                             fontBuildCalls(window, dc, rc()));
    EXPECT_EQ(startTime, TickTime{123456});
    EXPECT_TRUE(glContext.doubleBuffered);
    EXPECT_NE(glContext.renderContext, nullptr);
    EXPECT_EQ(currentContext(), glContext.renderContext);  // made current by the font's build
    EXPECT_EQ(font.charCount, 96);
    EXPECT_EQ(postedQuitCode(), std::nullopt);
}

TEST_F(WindowProcedure, FailedContextShowsOneBoxRequestsQuitAndStillBuildsTheFont) {
    fake::backend().refuseContexts = true;
    EXPECT_EQ(send(WM_CREATE), 0);  // creation goes on
    const Calls fromBox(log.calls.begin() + firstIndex(log.calls, "MessageBoxA"), log.calls.end());
    EXPECT_EQ(fromBox, (Calls{call("MessageBoxA", {0, 0, MB_OK}, "OpenGL context init failed"),
                              call("PostQuitMessage", {kExitFailure})} +
                        fontBuildCalls(window, dc, 0)));
    EXPECT_EQ(log.count("MessageBoxA"), 1u);
    EXPECT_EQ(postedQuitCode(), WPARAM{1});
    EXPECT_EQ(font.charCount, 96);
}

TEST_F(WindowProcedure, EveryWayTheContextFailsEndsTheSameWay) {
    // Each gives the window that WM_CREATE is sent to.
    for (const auto failing :
         {+[] { return fakeHandle<HWND>(0x1000); },  // not a window: no device context
          +[] {
              fake::backend().formats.resize(6);  // none double-buffered
              return bareWindow();
          },
          +[] {
              fake::backend().refuseContexts = true;
              return bareWindow();
          }}) {
        resetWin32();
        windowProcedure(failing(), WM_CREATE, 0, 0);
        EXPECT_EQ(messageBoxTexts(), std::vector<std::string>{"OpenGL context init failed"});
        EXPECT_EQ(postedQuitCode(), WPARAM{1});
        delete[] font.charWidths;
        font = {};
    }
}

}  // namespace
