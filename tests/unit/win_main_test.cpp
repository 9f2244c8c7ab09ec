#include "app/exit_code.h"
#include "platform/win32.h"
#include "tests/unit/app_fixture.h"

namespace {

const HINSTANCE kInstance = fakeHandle<HINSTANCE>(0x400000);

class WholeRun : public ShellTest {
protected:
    int run() { return WinMain(kInstance, nullptr, nullptr, SW_SHOW); }

    // The window's life as the message loop sees it.
    Calls loop() const {
        return only(log.calls,
                    {"ShowWindow", "UpdateWindow", "windowProcedure", "GetMessageA",
                     "TranslateMessage", "DispatchMessageA", "PostQuitMessage", "MessageBoxA"});
    }
    Call toProcedure(UINT message, LPARAM lParam = 0) const {
        return call("windowProcedure", {window, double(message), 0, double(lParam)});
    }
    Call getMessage() const { return call("GetMessageA", {0, 0, 0}); }
    Calls dispatched(UINT message) const {
        const std::vector<double> msg{window, double(message), 0, 0};
        return {call("TranslateMessage", msg), call("DispatchMessageA", msg), toProcedure(message)};
    }
};

Calls operator+(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(WholeRun, DrawsTheFirstFrameSkipsErrorsAndEndsWithZeroOnClose) {
    win32.messages = {win32.failure(), win32.message(WM_PAINT), win32.message(WM_CLOSE)};
    EXPECT_EQ(run(), kExitSuccess);
    EXPECT_EQ(loop(), (Calls{toProcedure(WM_CREATE), toProcedure(WM_SIZE, packPoint(256, 256)),
                             call("ShowWindow", {window, SW_SHOW}), call("UpdateWindow", {window}),
                             toProcedure(WM_PAINT), getMessage(), getMessage()} +
                       dispatched(WM_PAINT) + Calls{getMessage()} + dispatched(WM_CLOSE) +
                       Calls{call("PostQuitMessage", {0}), getMessage()}));
    // The first frame is on the screen before the loop asks for a message.
    EXPECT_LT(firstIndex(log.calls, "SwapBuffers"), firstIndex(log.calls, "GetMessageA"));
    EXPECT_EQ(log.count("SwapBuffers"), 2u);
    EXPECT_TRUE(win32.messageBoxTexts.empty());
}

TEST_F(WholeRun, FailedContextShowsOneBoxAndEndsWithOne) {
    win32.renderContext = nullptr;
    EXPECT_EQ(run(), kExitFailure);
    EXPECT_EQ(win32.messageBoxTexts, std::vector<std::string>{"OpenGL context init failed"});
    // Creation completes: the font is built, the window shown and painted.
    EXPECT_EQ(font.charCount, 96);
    EXPECT_EQ(loop(), (Calls{toProcedure(WM_CREATE),
                             call("MessageBoxA", {0, 0, MB_OK}, "OpenGL context init failed"),
                             call("PostQuitMessage", {kExitFailure}),
                             toProcedure(WM_SIZE, packPoint(256, 256)),
                             call("ShowWindow", {window, SW_SHOW}), call("UpdateWindow", {window}),
                             toProcedure(WM_PAINT), getMessage()}));
}

TEST_F(WholeRun, NoWindowEndsWithOneAtOnce) {
    win32.window = nullptr;
    EXPECT_EQ(run(), kExitFailure);
    EXPECT_EQ(log.count("ShowWindow"), 0u);
    EXPECT_EQ(log.count("GetMessageA"), 0u);
    EXPECT_TRUE(win32.messageBoxTexts.empty());
}

TEST_F(WholeRun, FailedRegistrationEndsWithOne) {
    win32.atom = 0;
    EXPECT_EQ(run(), kExitFailure);
    EXPECT_EQ(log.count("windowProcedure"), 0u);
}

TEST_F(WholeRun, InputBetweenFramesReachesTheDrag) {
    win32.messages = {win32.message(WM_LBUTTONDOWN, 0, packPoint(30, 40)),
                      win32.message(WM_MOUSEMOVE, 0, packPoint(35, 40)),
                      win32.message(WM_SIZE, 0, packPoint(300, 200)), win32.message(WM_CLOSE)};
    EXPECT_EQ(run(), kExitSuccess);
    EXPECT_TRUE(dragState.active);
    EXPECT_EQ(dragState.startX, 30);
    EXPECT_EQ(clientWidth, 300);
    EXPECT_EQ(clientHeight, 200);
}

}  // namespace
