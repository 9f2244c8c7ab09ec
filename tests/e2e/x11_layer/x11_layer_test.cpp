// The Linux layer against a real X server: the failure paths that need one.
// A second connection plays the other clients: a window manager, a client
// destroying the window, one sending pointer events.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "platform/common/desktop.h"
#include "platform/opengl.h"
#include "platform/x11/surface.h"
#include "tests/doubles/recording_procedure.h"
#include "tests/e2e/x11_layer/refused_windows.h"

namespace {

// A window of 200 by 100 pixels.
HWND createWindow(const char* className) {
    registerRecordingClass(className);  // once per name; later calls fail harmlessly
    return CreateWindowExA(0, className, "layer test", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, 200,
                           100, nullptr, nullptr, nullptr, nullptr);
}

::Window xWindowOf(HWND window) {
    return window->surface->xWindow.window;
}

class LayerTest : public testing::Test {
protected:
    void SetUp() override {
        other_ = XOpenDisplay(nullptr);
        ASSERT_NE(other_, nullptr) << "no X server: run through the e2e harness";
        sent.clear();
        static const HWND sentinel = createWindow("Sentinel");
        sentinel_ = sentinel;
        ASSERT_NE(sentinel_, nullptr);
    }

    void TearDown() override { XCloseDisplay(other_); }

    // Every message but painting that the queue hands out for `window` in
    // answer to the requests made so far, ours and the other client's: read
    // up to a close request the other client sends to a window of its own
    // after them, which comes after all of theirs.
    std::vector<MSG> drain(HWND window) {
        XSync(liveConnection()->display, False);
        XEvent marker{};
        marker.xclient.type = ClientMessage;
        marker.xclient.window = xWindowOf(sentinel_);
        marker.xclient.message_type = XInternAtom(other_, "WM_PROTOCOLS", False);
        marker.xclient.format = 32;
        marker.xclient.data.l[0] =
            static_cast<long>(XInternAtom(other_, "WM_DELETE_WINDOW", False));
        XSendEvent(other_, xWindowOf(sentinel_), False, NoEventMask, &marker);
        XSync(other_, False);
        std::vector<MSG> messages;
        MSG msg{};
        while (GetMessageA(&msg, nullptr, 0, 0) > 0 &&
               !(msg.hwnd == sentinel_ && msg.message == WM_CLOSE)) {
            if (msg.hwnd == window && msg.message != WM_PAINT) messages.push_back(msg);
        }
        return messages;
    }

    HWND shownWindow(const char* className) {
        const HWND window = createWindow(className);
        EXPECT_NE(window, nullptr);
        if (!window) return nullptr;
        ShowWindow(window, SW_SHOW);
        drain(window);
        EXPECT_TRUE(isOnScreen(window->surface->view));
        return window;
    }

    // What a window manager does: sets WM_STATE and maps or unmaps.
    void setWmState(HWND window, long state) {
        const Atom wmState = XInternAtom(other_, "WM_STATE", False);
        const long value[2] = {state, None};
        XChangeProperty(other_, xWindowOf(window), wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 2);
        if (state == IconicState) {
            XUnmapWindow(other_, xWindowOf(window));
        } else {
            XMapWindow(other_, xWindowOf(window));
        }
        XSync(other_, False);
    }

    void sendPointer(HWND window, int type, int x, int y) {
        XEvent event{};
        event.type = type;
        event.xany.window = xWindowOf(window);
        long mask = PointerMotionMask;
        if (type == MotionNotify) {
            event.xmotion.x = x;
            event.xmotion.y = y;
            event.xmotion.same_screen = True;
        } else {
            event.xbutton.x = x;
            event.xbutton.y = y;
            event.xbutton.button = Button1;
            event.xbutton.same_screen = True;
            mask = ButtonPressMask;
        }
        XSendEvent(other_, xWindowOf(window), False, mask, &event);
    }

    Display* other_ = nullptr;
    HWND sentinel_ = nullptr;
};

TEST_F(LayerTest, AWindowDestroyedByAnotherClientArrivesAsClosedAndIsLeftAlone) {
    const HWND window = shownWindow("Destroyed");
    ASSERT_NE(window, nullptr);
    XDestroyWindow(other_, xWindowOf(window));
    XSync(other_, False);
    EXPECT_EQ(idsOf(drain(window)), std::vector<UINT>{WM_CLOSE});
    EXPECT_FALSE(isOnScreen(window->surface->view)) << "a destroyed window is not painted";
    EXPECT_EQ(SwapBuffers(GetDC(window)), FALSE);
    EXPECT_EQ(ShowWindow(window, SW_SHOW), FALSE);
}

TEST_F(LayerTest, IconifyingSendsASizeOfZeroAndRestoringTheClientSize) {
    const HWND window = shownWindow("Iconified");  // 200 by 100
    ASSERT_NE(window, nullptr);
    setWmState(window, NormalState);
    EXPECT_TRUE(drain(window).empty()) << "normal from the start: no news";

    // WM_STATE becomes `state`: one WM_SIZE of `kind` and `size` follows.
    const auto expectSized = [&](long state, WPARAM kind, LPARAM size) {
        setWmState(window, state);
        const std::vector<MSG> sized = drain(window);
        ASSERT_EQ(idsOf(sized), std::vector<UINT>{WM_SIZE});
        EXPECT_EQ(sized[0].wParam, kind);
        EXPECT_EQ(sized[0].lParam, size);
    };
    ASSERT_NO_FATAL_FAILURE(expectSized(IconicState, 1u, 0));  // SIZE_MINIMIZED
    EXPECT_FALSE(isOnScreen(window->surface->view)) << "an iconic window is not painted";

    XResizeWindow(other_, xWindowOf(window), 300, 200);
    XSync(other_, False);
    EXPECT_TRUE(drain(window).empty()) << "iconic, the client stays 0 by 0";

    ASSERT_NO_FATAL_FAILURE(expectSized(NormalState, 0u, (200 << 16) | 300));  // SIZE_RESTORED
    EXPECT_TRUE(isOnScreen(window->surface->view));
}

TEST_F(LayerTest, ConsecutivePointerMovesArriveAsTheLatestOne) {
    const HWND window = shownWindow("Pointer");
    ASSERT_NE(window, nullptr);
    sendPointer(window, MotionNotify, 10, 10);
    sendPointer(window, MotionNotify, 20, 15);
    sendPointer(window, MotionNotify, 30, 25);
    sendPointer(window, ButtonPress, 30, 25);
    sendPointer(window, MotionNotify, 40, 30);
    sendPointer(window, MotionNotify, 50, 35);
    XSync(other_, False);
    const std::vector<MSG> messages = drain(window);
    ASSERT_EQ(idsOf(messages), (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE}));
    EXPECT_EQ(messages[0].lParam, (25 << 16) | 30);
    EXPECT_EQ(messages[2].lParam, (35 << 16) | 50);
}

TEST_F(LayerTest, RenderContextsTheLayerNeverMadeAreRefusedAndChangeNothing) {
    const HWND window = createWindow("Rendering");
    ASSERT_NE(window, nullptr);
    const HDC deviceContext = GetDC(window);
    const PIXELFORMATDESCRIPTOR request = windowFormatRequest(0);
    const int format = ChoosePixelFormat(deviceContext, &request);
    ASSERT_NE(format, 0) << "the server needs GLX";
    ASSERT_EQ(SetPixelFormat(deviceContext, format, &request), TRUE);
    const HGLRC made = wglCreateContext(deviceContext);
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(wglMakeCurrent(deviceContext, made), TRUE);
    const GLXContext current = glXGetCurrentContext();
    ASSERT_NE(current, nullptr);

    int notAContext = 0;
    const HGLRC foreign = reinterpret_cast<HGLRC>(&notAContext);
    EXPECT_EQ(wglMakeCurrent(deviceContext, foreign), FALSE);
    EXPECT_EQ(wglDeleteContext(foreign), FALSE);
    EXPECT_EQ(glXGetCurrentContext(), current);
    EXPECT_EQ(notAContext, 0);

    EXPECT_EQ(wglMakeCurrent(nullptr, nullptr), TRUE);
    EXPECT_EQ(wglDeleteContext(made), TRUE);
    // Deleted, it is no longer the layer's either.
    EXPECT_EQ(wglDeleteContext(made), FALSE);
    EXPECT_EQ(wglMakeCurrent(deviceContext, made), FALSE);
    EXPECT_EQ(glXGetCurrentContext(), nullptr);
}

// The first pixel format (1-based) whose visual is not of the screen's depth
// and class and which GLX says is `candidate` (renders to a window's
// double-buffered RGBA context in the main plane) or not; 0 for none. The
// layer reads such visuals only when it has to.
int otherKindOfFormat(Display* display, bool candidate) {
    XVisualInfo pattern{};
    pattern.screen = DefaultScreen(display);
    int count = 0;
    XVisualInfo* visuals = XGetVisualInfo(display, VisualScreenMask, &pattern, &count);
    int found = 0;
    for (int i = 0; i < count && !found; ++i) {
        XVisualInfo& visual = visuals[i];
        if (visual.depth == DefaultDepth(display, pattern.screen) && visual.c_class == TrueColor)
            continue;
        int useGl = 0, rgba = 0, doubleBuffered = 0, level = 1;
        glXGetConfig(display, &visual, GLX_USE_GL, &useGl);
        glXGetConfig(display, &visual, GLX_RGBA, &rgba);
        glXGetConfig(display, &visual, GLX_DOUBLEBUFFER, &doubleBuffered);
        glXGetConfig(display, &visual, GLX_LEVEL, &level);
        if ((useGl && rgba && doubleBuffered && level == 0) == candidate) found = i + 1;
    }
    XFree(visuals);
    return found;
}

TEST_F(LayerTest, AnyCandidateFormatCanBeSetEvenOneNoChoiceHadToRead) {
    const int candidate = otherKindOfFormat(other_, true);
    const int refused = otherKindOfFormat(other_, false);
    ASSERT_NE(candidate, 0) << "Xvfb has DirectColor visuals GLX renders to";
    ASSERT_NE(refused, 0) << "Xvfb has single-buffered DirectColor visuals";
    const HDC first = GetDC(createWindow("OtherKind"));
    const HDC second = GetDC(createWindow("OtherKind"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(SetPixelFormat(second, refused, nullptr), FALSE);
    EXPECT_EQ(SetPixelFormat(first, candidate, nullptr), TRUE);
    EXPECT_EQ(SetPixelFormat(second, candidate, nullptr), TRUE);
}

TEST_F(LayerTest, ARefusedXWindowFailsCreationBeforeAnyMessage) {
    const RefusedWindows refused("Refused");
    testing::internal::CaptureStderr();
    EXPECT_EQ(createWindow("Refused"), nullptr);
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(sent.empty()) << "no WM_CREATE for a window that does not exist";
    EXPECT_NE(stderrText.find("refused the window \"layer test\""), std::string::npos)
        << stderrText;
}

TEST_F(LayerTest, ARefusedMessageBoxStillWritesItsTextAndReturns) {
    const RefusedWindows refused("MessageBox");
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Nothing to see", nullptr, MB_OK), 1);  // IDOK
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_NE(stderrText.find(": Nothing to see\n"), std::string::npos) << stderrText;
}

TEST_F(LayerTest, WinMainReturns1WhenItsWindowIsRefused) {
    const RefusedWindows refused("Vell");
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 1);
}

}  // namespace
