#pragma once

#ifndef __EMSCRIPTEN__
#error "platform/web is the browser layer: it is built with Emscripten"
#endif

#include <memory>
#include <string>

#include "platform/web/gl_machine.h"
#include "platform/web/message_queue.h"
#include "platform/win32.h"

// The page's side of the layer, written in JavaScript (page.js).
extern "C" {
// Sizes the canvas's box to the client size and names the page; starts
// watching the canvas's size and the close control.
void quennPageOpen(int width, int height, const char* title);
// Suspends until the next animation frame (1) or until input arrives (0).
int quennPageWaitForFrame();
// Ends a wait for a frame early: input arrived.
void quennPageWake();
// A modal dialog with the text and an OK button; suspends until dismissed.
void quennPageMessageBox(const char* text, const char* caption);
// Hands the canvas's pointer events to quennPagePointer.
void quennPageListenToPointers();
// The canvas's client size in device pixels.
int quennPageCanvasWidth();
int quennPageCanvasHeight();
}

// A rendering context: the WebGL 2 context of the canvas and the OpenGL
// state drawn through it.
struct HGLRC__;

// The window's one device context (CS_OWNDC): its pixel format and font.
struct HDC__ {
    HWND window;
    int pixelFormat = 0;
    HGDIOBJ font = nullptr;
};

// The page's one window: the canvas.
struct HWND__ {
    WNDPROC procedure;
    std::string title;
    HDC__ deviceContext;
};

// The window, once created; nullptr before.
HWND pageWindow();

// The queue GetMessageA reads.
MessageQueue& pageQueue();
