#include "gl/gl_context.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/doubles/call_log.h"
#include "tests/doubles/recording_win32.h"

namespace {

class GlContextCalls : public ::testing::Test {
protected:
    CallLog log;
    RecordingWin32 win32;
    GlContext context;

    const double window = logged(win32.window);
    const double dc = logged(win32.deviceContext);
    const double rc = logged(win32.renderContext);

    Calls initCalls(bool doubleBuffered) {
        result = context.init(win32.window, doubleBuffered);
        Calls calls = log.calls;
        log.calls.clear();
        return calls;
    }
    bool result = false;
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
    ASSERT_EQ(win32.pixelFormatRequests.size(), 1u);
    const PIXELFORMATDESCRIPTOR& p = win32.pixelFormatRequests[0];
    EXPECT_EQ(p.nSize, 40);
    EXPECT_EQ(p.nVersion, 1);
    EXPECT_EQ(p.dwFlags, 0x65u);
    EXPECT_EQ(p.iPixelType, PFD_TYPE_RGBA);
    EXPECT_EQ(p.cColorBits, 16);
    EXPECT_EQ(p.cRedBits, 0);
    EXPECT_EQ(p.cRedShift, 0);
    EXPECT_EQ(p.cGreenBits, 0);
    EXPECT_EQ(p.cGreenShift, 0);
    EXPECT_EQ(p.cBlueBits, 0);
    EXPECT_EQ(p.cBlueShift, 0);
    EXPECT_EQ(p.cAlphaBits, 1);
    EXPECT_EQ(p.cAlphaShift, 0);
    EXPECT_EQ(p.cAccumBits, 0);
    EXPECT_EQ(p.cAccumRedBits, 0);
    EXPECT_EQ(p.cAccumGreenBits, 0);
    EXPECT_EQ(p.cAccumBlueBits, 0);
    EXPECT_EQ(p.cAccumAlphaBits, 0);
    EXPECT_EQ(p.cDepthBits, 16);
    EXPECT_EQ(p.cStencilBits, 0);
    EXPECT_EQ(p.cAuxBuffers, 0);
    EXPECT_EQ(p.iLayerType, PFD_MAIN_PLANE);
    EXPECT_EQ(p.bReserved, 0);
    EXPECT_EQ(p.dwLayerMask, 0u);
    EXPECT_EQ(p.dwVisibleMask, 0u);
    EXPECT_EQ(p.dwDamageMask, 0u);
    // The format set is the one chosen, for the same request.
    ASSERT_EQ(win32.pixelFormatsSet.size(), 1u);
    EXPECT_EQ(std::memcmp(&win32.pixelFormatsSet[0], &p, sizeof p), 0);
}

TEST_F(GlContextCalls, SingleBufferedRequestLacksOnlyTheDoubleBufferFlag) {
    initCalls(false);
    ASSERT_EQ(win32.pixelFormatRequests.size(), 1u);
    EXPECT_EQ(win32.pixelFormatRequests[0].dwFlags, 0x64u);
    EXPECT_FALSE(context.doubleBuffered);
}

TEST_F(GlContextCalls, InitCreatesTheContextWithoutMakingItCurrent) {
    EXPECT_EQ(initCalls(true),
              (Calls{call("GetDC", {window}), call("ChoosePixelFormat", {dc}),
                     call("SetPixelFormat", {dc, 7}), call("wglCreateContext", {dc}),
                     call("ReleaseDC", {window, dc})}));
    EXPECT_TRUE(result);
    EXPECT_EQ(context.window, win32.window);
    EXPECT_EQ(context.renderContext, win32.renderContext);
    EXPECT_TRUE(context.doubleBuffered);
    EXPECT_EQ(win32.deviceContextsHeld, 0);
}

TEST_F(GlContextCalls, InitWithoutDeviceContextFailsReleasingNothing) {
    win32.deviceContext = nullptr;
    EXPECT_EQ(initCalls(true), (Calls{call("GetDC", {window})}));
    EXPECT_FALSE(result);
    EXPECT_EQ(context.renderContext, nullptr);
    // Kept for present and destroy all the same.
    EXPECT_EQ(context.window, win32.window);
    EXPECT_TRUE(context.doubleBuffered);
}

TEST_F(GlContextCalls, InitWithoutPixelFormatFailsAndReleases) {
    win32.pixelFormat = 0;
    EXPECT_EQ(initCalls(true), (Calls{call("GetDC", {window}), call("ChoosePixelFormat", {dc}),
                                      call("ReleaseDC", {window, dc})}));
    EXPECT_FALSE(result);
    EXPECT_EQ(context.renderContext, nullptr);
    EXPECT_EQ(win32.deviceContextsHeld, 0);
}

TEST_F(GlContextCalls, InitWithoutRenderingContextFailsAndReleases) {
    win32.renderContext = nullptr;
    EXPECT_EQ(initCalls(true),
              (Calls{call("GetDC", {window}), call("ChoosePixelFormat", {dc}),
                     call("SetPixelFormat", {dc, 7}), call("wglCreateContext", {dc}),
                     call("ReleaseDC", {window, dc})}));
    EXPECT_FALSE(result);
    EXPECT_EQ(win32.deviceContextsHeld, 0);
}

TEST_F(GlContextCalls, BindHoldsTheDeviceContextUntilReleased) {
    initCalls(true);
    context.bind();
    EXPECT_EQ(log.calls, (Calls{call("GetDC", {window}), call("wglMakeCurrent", {dc, rc})}));
    EXPECT_EQ(win32.deviceContextsHeld, 1);
    log.calls.clear();
    context.releaseDeviceContext();
    EXPECT_EQ(log.calls, (Calls{call("ReleaseDC", {window, dc})}));
    EXPECT_EQ(win32.deviceContextsHeld, 0);
    EXPECT_EQ(win32.currentContext, win32.renderContext);
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
    EXPECT_EQ(log.calls, (Calls{call("GetDC", {window}), call("wglMakeCurrent", {0, 0}),
                                call("ReleaseDC", {window, dc}), call("wglDeleteContext", {rc})}));
    EXPECT_EQ(win32.currentContext, nullptr);
}

TEST_F(GlContextCalls, DestroyAfterFailedCreationStillDeletesNull) {
    win32.renderContext = nullptr;
    initCalls(true);
    context.destroy();
    EXPECT_EQ(log.calls, (Calls{call("GetDC", {window}), call("wglMakeCurrent", {0, 0}),
                                call("ReleaseDC", {window, dc}), call("wglDeleteContext", {0})}));
}

}  // namespace
