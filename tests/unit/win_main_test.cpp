#include "app/exit_code.h"
#include "app/main_window.h"
#include "platform/win32.h"
#include "tests/doubles/fake_backend.h"
#include "tests/unit/app_fixture.h"

namespace {

const HINSTANCE kInstance = fakeHandle<HINSTANCE>(0x400000);

class WholeRun : public ShellTest {
protected:
    int run() { return WinMain(kInstance, nullptr, nullptr, SW_SHOW); }

    // The program's window, once made.
    double programWindow() const { return logged(fake::lastSurface().window); }
    static fake::Posted message(UINT message, LPARAM lParam = 0) {
        return {nullptr, {message, 0, lParam}};
    }

    // The window's life as the message loop sees it.
    Calls loop() const {
        return only(log.calls,
                    {"ShowWindow", "UpdateWindow", "windowProcedure", "GetMessageA",
                     "TranslateMessage", "DispatchMessageA", "PostQuitMessage", "MessageBoxA"});
    }
    Call toProcedure(UINT message, LPARAM lParam = 0) const {
        return call("windowProcedure", {programWindow(), double(message), 0, double(lParam)});
    }
    Call getMessage() const { return call("GetMessageA", {0, 0, 0}); }
    Calls dispatched(UINT message) const {
        const std::vector<double> msg{programWindow(), double(message), 0, 0};
        return {call("TranslateMessage", msg), call("DispatchMessageA", msg), toProcedure(message)};
    }
};

TEST_F(WholeRun, DrawsTheFirstFrameSkipsErrorsAndEndsWithZeroOnClose) {
    fake::backend().input = {Wake::Lost, message(WM_PAINT), message(WM_CLOSE)};
    EXPECT_EQ(run(), kExitSuccess);
    EXPECT_EQ(loop(), (Calls{toProcedure(WM_CREATE), toProcedure(WM_SIZE, packPoint(256, 256)),
                             call("ShowWindow", {programWindow(), SW_SHOW}),
                             call("UpdateWindow", {programWindow()}), toProcedure(WM_PAINT),
                             getMessage(), getMessage()} +
                       dispatched(WM_PAINT) + Calls{getMessage()} + dispatched(WM_CLOSE) +
                       Calls{call("PostQuitMessage", {0}), getMessage()}));
    // The first frame is on the screen before the loop asks for a message.
    EXPECT_LT(firstIndex(log.calls, "SwapBuffers"), firstIndex(log.calls, "GetMessageA"));
    EXPECT_EQ(log.count("SwapBuffers"), 2u);
    EXPECT_TRUE(messageBoxTexts().empty());
}

TEST_F(WholeRun, FailedContextShowsOneBoxAndEndsWithOne) {
    fake::backend().refuseContexts = true;
    EXPECT_EQ(run(), kExitFailure);
    EXPECT_EQ(messageBoxTexts(), std::vector<std::string>{"OpenGL context init failed"});
    // Creation completes: the font is built, the window shown and painted.
    EXPECT_EQ(font.charCount, 96);
    EXPECT_EQ(
        loop(),
        (Calls{toProcedure(WM_CREATE),
               call("MessageBoxA", {0, 0, MB_OK}, "OpenGL context init failed"),
               call("PostQuitMessage", {kExitFailure}), toProcedure(WM_SIZE, packPoint(256, 256)),
               call("ShowWindow", {programWindow(), SW_SHOW}),
               call("UpdateWindow", {programWindow()}), toProcedure(WM_PAINT), getMessage()}));
}

TEST_F(WholeRun, NoWindowEndsWithOneAtOnce) {
    fake::backend().refuseSurfaces = true;
    EXPECT_EQ(run(), kExitFailure);
    EXPECT_EQ(log.count("ShowWindow"), 0u);
    EXPECT_EQ(log.count("GetMessageA"), 0u);
    EXPECT_TRUE(messageBoxTexts().empty());
}

TEST_F(WholeRun, FailedRegistrationEndsWithOne) {
    registerWindowClass(kInstance);  // the program's class name is taken
    log.calls.clear();
    EXPECT_EQ(run(), kExitFailure);
    EXPECT_EQ(log.count("windowProcedure"), 0u);
}

TEST_F(WholeRun, InputBetweenFramesReachesTheDrag) {
    fake::backend().input = {message(WM_LBUTTONDOWN, packPoint(30, 40)),
                             message(WM_MOUSEMOVE, packPoint(35, 40)),
                             message(WM_SIZE, packPoint(300, 200)), message(WM_CLOSE)};
    EXPECT_EQ(run(), kExitSuccess);
    EXPECT_TRUE(dragState.active);
    EXPECT_EQ(dragState.startX, 30);
    EXPECT_EQ(clientWidth, 300);
    EXPECT_EQ(clientHeight, 200);
}

}  // namespace
