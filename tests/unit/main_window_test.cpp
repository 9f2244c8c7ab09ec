#include "app/main_window.h"

#include <cstring>

#include "app/window_procedure.h"
#include "tests/doubles/fake_backend.h"
#include "tests/unit/app_fixture.h"

namespace {

const HINSTANCE kInstance = fakeHandle<HINSTANCE>(0x400000);

class MainWindow : public ShellTest {};

TEST_F(MainWindow, ClassRecordIsFilledCompletely) {
    EXPECT_EQ(registerWindowClass(kInstance), 0xC001);  // the second class, after the bare window's
    EXPECT_EQ(log.calls, (Calls{call("LoadIconA", {0, 32512}), call("LoadCursorA", {0, 32512}),
                                call("RegisterClassExA", {}, "Vell")}));
    ASSERT_TRUE(win32Record().windowClass);
    EXPECT_EQ(win32Record().className, "Vell");
    const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    const HCURSOR cursor = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_TRUE(icon && cursor);
    // Every field in order; the name's pointer is the program's own.
    WNDCLASSEXA expected{sizeof(WNDCLASSEXA),
                         CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
                         &windowProcedure,
                         0,
                         0,
                         kInstance,
                         icon,
                         cursor,
                         nullptr,
                         nullptr,
                         nullptr,
                         nullptr};
    expected.lpszClassName = win32Record().windowClass->lpszClassName;
    EXPECT_EQ(std::memcmp(&*win32Record().windowClass, &expected, sizeof expected), 0);
}

TEST_F(MainWindow, FailedRegistrationGivesAtomZero) {
    ASSERT_NE(registerWindowClass(kInstance), 0);
    EXPECT_EQ(registerWindowClass(kInstance), 0);  // the name is taken
}

TEST_F(MainWindow, WindowOfTheClassAtomGetsTheRequestedClientArea) {
    const ATOM atom = registerWindowClass(kInstance);
    log.calls.clear();
    const HWND made = createMainWindow(atom, kInstance, 256, 256, "vell!");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made, fake::lastSurface().window);
    // The window system draws the frame outside the client area, which is
    // the whole window here.
    const Calls calls = only(log.calls, {"AdjustWindowRect", "CreateWindowExA"});
    EXPECT_EQ(calls, (Calls{call("AdjustWindowRect", {0, 0, 255, 255, WS_OVERLAPPEDWINDOW, FALSE}),
                            call("CreateWindowExA",
                                 {0, double(atom), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 255 + 1,
                                  255 + 1, 0, 0, logged(kInstance), 0},
                                 "vell!")}));
    // So the first size message reports 256 by 256.
    EXPECT_EQ(clientWidth, 256);
    EXPECT_EQ(clientHeight, 256);
}

TEST_F(MainWindow, FailedCreationGivesNull) {
    const ATOM atom = registerWindowClass(kInstance);
    fake::backend().refuseSurfaces = true;
    EXPECT_EQ(createMainWindow(atom, kInstance, 256, 256, "vell!"), nullptr);
}

}  // namespace
