#include "gl/gl_context.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/doubles/call_log.h"
#include "tests/doubles/fake_backend.h"
#include "tests/doubles/test_win32.h"
#include "tests/unit/window_calls.h"

namespace {

// Not a window: it has no device context.
const HWND kNoWindow = fakeHandle<HWND>(0x1000);

class GlContextCalls : public WindowCalls {
protected:
    GlContext context;
    double rc() const { return logged(context.renderContext); }

    Calls initCalls(bool doubleBuffered, HWND on = nullptr) {
        result = context.init(on ? on : hwnd, doubleBuffered);
        Calls calls = log.calls;
        log.calls.clear();
        return calls;
    }
    bool result = false;

    // destroy: no context current, then the context `deleted` deleted.
    Calls destroyCalls(double deleted) const {
        return {call("GetDC", {window}), call("wglMakeCurrent", {0, 0}),
                call("ReleaseDC", {window, dc}), call("wglDeleteContext", {deleted})};
    }
};

TEST_F(GlContextCalls, StartsCleared) {
    const GlContext fresh;
    EXPECT_EQ(fresh.window, nullptr);
    EXPECT_EQ(fresh.deviceContext, nullptr);
    EXPECT_EQ(fresh.renderContext, nullptr);
    EXPECT_FALSE(fresh.doubleBuffered);
}

TEST_F(GlContextCalls, RequestsTheProgramsPixelFormat) {
    initCalls(true);
    const std::vector<PIXELFORMATDESCRIPTOR>& requests = win32Record().pixelFormatRequests;
    ASSERT_EQ(requests.size(), 1u);
    // Every field in order: size, version, flags, type, colour bits, the red,
    // green, blue and alpha bits and shifts, the accumulation bits (all and
    // by channel), depth, stencil, auxiliary buffers, layer, reserved, masks.
    const PIXELFORMATDESCRIPTOR expected{
        40, 1, 0x65, PFD_TYPE_RGBA,  16, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0,
        16, 0, 0,    PFD_MAIN_PLANE, 0,  0, 0, 0};
    EXPECT_EQ(std::memcmp(&requests[0], &expected, sizeof expected), 0);
    // The format set is the one chosen, for the same request.
    ASSERT_EQ(win32Record().pixelFormatsSet.size(), 1u);
    EXPECT_EQ(std::memcmp(&win32Record().pixelFormatsSet[0], &expected, sizeof expected), 0);
}

TEST_F(GlContextCalls, SingleBufferedRequestLacksOnlyTheDoubleBufferFlag) {
    initCalls(false);
    ASSERT_EQ(win32Record().pixelFormatRequests.size(), 1u);
    EXPECT_EQ(win32Record().pixelFormatRequests[0].dwFlags, 0x64u);
    EXPECT_FALSE(context.doubleBuffered);
}

TEST_F(GlContextCalls, InitCreatesTheContextWithoutMakingItCurrent) {
    EXPECT_EQ(initCalls(true), contextInitCalls(window, dc));
    EXPECT_TRUE(result);
    EXPECT_EQ(context.window, hwnd);
    EXPECT_NE(context.renderContext, nullptr);
    EXPECT_EQ(currentContext(), nullptr);
    EXPECT_TRUE(context.doubleBuffered);
    EXPECT_EQ(win32Record().deviceContextsHeld, 0);
}

TEST_F(GlContextCalls, InitWithoutDeviceContextFailsReleasingNothing) {
    EXPECT_EQ(initCalls(true, kNoWindow), (Calls{call("GetDC", {logged(kNoWindow)})}));
    EXPECT_FALSE(result);
    EXPECT_EQ(context.renderContext, nullptr);
    // Kept for present and destroy all the same.
    EXPECT_EQ(context.window, kNoWindow);
    EXPECT_TRUE(context.doubleBuffered);
}

TEST_F(GlContextCalls, InitWithoutPixelFormatFailsAndReleases) {
    fake::backend().formats.resize(6);  // none double-buffered
    EXPECT_EQ(initCalls(true), (Calls{call("GetDC", {window}), call("ChoosePixelFormat", {dc}),
                                      call("ReleaseDC", {window, dc})}));
    EXPECT_FALSE(result);
    EXPECT_EQ(context.renderContext, nullptr);
    EXPECT_EQ(win32Record().deviceContextsHeld, 0);
}

TEST_F(GlContextCalls, InitWithoutRenderingContextFailsAndReleases) {
    fake::backend().refuseContexts = true;
    EXPECT_EQ(initCalls(true), contextInitCalls(window, dc));
    EXPECT_FALSE(result);
    EXPECT_EQ(win32Record().deviceContextsHeld, 0);
}

TEST_F(GlContextCalls, BindHoldsTheDeviceContextUntilReleased) {
    initCalls(true);
    context.bind();
    EXPECT_EQ(log.calls, (Calls{call("GetDC", {window}), call("wglMakeCurrent", {dc, rc()})}));
    EXPECT_EQ(win32Record().deviceContextsHeld, 1);
    log.calls.clear();
    context.releaseDeviceContext();
    EXPECT_EQ(log.calls, (Calls{call("ReleaseDC", {window, dc})}));
    EXPECT_EQ(win32Record().deviceContextsHeld, 0);
    EXPECT_EQ(currentContext(), context.renderContext);
}

TEST_F(GlContextCalls, PresentSwapsWhenDoubleBuffered) {
    initCalls(true);
    context.present();
    EXPECT_EQ(log.calls, (Calls{call("GetDC", {window}), call("SwapBuffers", {dc}),
                                call("ReleaseDC", {window, dc})}));
}

TEST_F(GlContextCalls, PresentSingleBufferedDoesNothing) {
    initCalls(false);
    context.present();
    EXPECT_EQ(log.calls, Calls{});
}

TEST_F(GlContextCalls, DestroyBeforeInitDoesNothing) {
    context.destroy();
    EXPECT_EQ(log.calls, Calls{});
}

TEST_F(GlContextCalls, DestroyDeletesTheContextWithNoneCurrent) {
    initCalls(true);
    context.bind();
    context.releaseDeviceContext();
    log.calls.clear();
    context.destroy();
    EXPECT_EQ(log.calls, destroyCalls(rc()));
    EXPECT_EQ(currentContext(), nullptr);
}

TEST_F(GlContextCalls, DestroyAfterFailedCreationStillDeletesNull) {
    fake::backend().refuseContexts = true;
    initCalls(true);
    context.destroy();
    EXPECT_EQ(log.calls, destroyCalls(0));
}

}  // namespace
