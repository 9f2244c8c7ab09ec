#include "app/main_window.h"

#include "app/window_procedure.h"
#include "tests/unit/app_fixture.h"

namespace {

const HINSTANCE kInstance = fakeHandle<HINSTANCE>(0x400000);

class MainWindow : public ShellTest {};

TEST_F(MainWindow, ClassRecordIsFilledCompletely) {
    EXPECT_EQ(registerWindowClass(kInstance), win32.atom);
    EXPECT_EQ(log.calls, (Calls{call("LoadIconA", {0, 32512}), call("LoadCursorA", {0, 32512}),
                                call("RegisterClassExA", {}, "Vell")}));
    ASSERT_TRUE(win32.windowClass);
    const WNDCLASSEXA& c = *win32.windowClass;
    EXPECT_EQ(c.cbSize, sizeof(WNDCLASSEXA));
    EXPECT_EQ(c.style, 0x23u);  // CS_OWNDC | CS_HREDRAW | CS_VREDRAW
    EXPECT_EQ(c.lpfnWndProc, &windowProcedure);
    EXPECT_EQ(c.cbClsExtra, 0);
    EXPECT_EQ(c.cbWndExtra, 0);
    EXPECT_EQ(c.hInstance, kInstance);
    EXPECT_EQ(c.hIcon, win32.icon);
    EXPECT_EQ(c.hCursor, win32.cursor);
    EXPECT_EQ(c.hbrBackground, nullptr);
    EXPECT_EQ(c.lpszMenuName, nullptr);
    EXPECT_EQ(win32.className, "Vell");
    EXPECT_EQ(c.hIconSm, nullptr);
}

TEST_F(MainWindow, FailedRegistrationGivesAtomZero) {
    win32.atom = 0;
    EXPECT_EQ(registerWindowClass(kInstance), 0);
}

TEST_F(MainWindow, WindowOfTheClassAtomGetsTheRequestedClientArea) {
    const ATOM atom = registerWindowClass(kInstance);
    log.calls.clear();
    EXPECT_EQ(createMainWindow(atom, kInstance, 256, 256, "vell!"), win32.window);
    // The frame the double adds: 8 left, 31 top, 8 right, 8 bottom.
    const Calls calls = only(log.calls, {"AdjustWindowRect", "CreateWindowExA"});
    EXPECT_EQ(calls, (Calls{call("AdjustWindowRect", {0, 0, 255, 255, WS_OVERLAPPEDWINDOW, FALSE}),
                            call("CreateWindowExA",
                                 {0, double(atom), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                  255 + 16 + 1, 255 + 39 + 1, 0, 0, logged(kInstance), 0},
                                 "vell!")}));
    // So the first size message reports 256 by 256.
    EXPECT_EQ(clientWidth, 256);
    EXPECT_EQ(clientHeight, 256);
}

TEST_F(MainWindow, FailedCreationGivesNull) {
    const ATOM atom = registerWindowClass(kInstance);
    win32.window = nullptr;
    EXPECT_EQ(createMainWindow(atom, kInstance, 256, 256, "vell!"), nullptr);
}

}  // namespace
