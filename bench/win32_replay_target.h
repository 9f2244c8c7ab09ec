#pragma once

#include "bench/frame_calls.h"

// The program's way: its window's device context and rendering context.
class Win32ReplayTarget : public ReplayTarget {
public:
    Win32ReplayTarget(HDC deviceContext, HGLRC renderContext, GLint listBase)
        : deviceContext_(deviceContext), renderContext_(renderContext), listBase_(listBase) {}
    void makeCurrent() override { wglMakeCurrent(deviceContext_, renderContext_); }
    void present() override { SwapBuffers(deviceContext_); }
    GLint listBase() const override { return listBase_; }

private:
    HDC deviceContext_;
    HGLRC renderContext_;
    GLint listBase_;
};
