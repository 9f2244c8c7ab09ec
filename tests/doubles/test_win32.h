#pragma once

// The Win32 the unit tests, the benchmarks and the stream recorder run the
// program on: the subset of platform/common itself, over the fake backend
// of fake_backend.h, with every entry point the program calls logged on the
// CallLog timeline that the recording OpenGL writes to, as
// call(name, args, bytes):
// - handles and pointers as their integer values (NULL is 0);
// - strings (a window title, a class name, a message box text) in `bytes`;
// - records that a call reads (WNDCLASSEXA, PIXELFORMATDESCRIPTOR) kept
//   whole in win32Record(), or as their fields in `args`.
// Each call of a window procedure that the subset makes on Windows' behalf
// is logged too, as windowProcedure(window, message, wParam, lParam),
// before the procedure runs.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"

// A fabricated handle of the given integer value.
template <typename Handle>
Handle fakeHandle(uintptr_t value) {
    return reinterpret_cast<Handle>(value);
}

// A handle or pointer as the log records it.
template <typename Pointer>
double logged(Pointer pointer) {
    return static_cast<double>(reinterpret_cast<uintptr_t>(pointer));
}

// What the program passed that the log keeps only in part.
struct Win32Record {
    std::optional<WNDCLASSEXA> windowClass;                  // the latest registered
    std::string className;                                   // its lpszClassName, copied
    std::vector<PIXELFORMATDESCRIPTOR> pixelFormatRequests;  // ChoosePixelFormat's, in order
    std::vector<PIXELFORMATDESCRIPTOR> pixelFormatsSet;      // SetPixelFormat's, in order
    int deviceContextsHeld = 0;  // GetDC successes minus ReleaseDC calls
};

Win32Record& win32Record();

// The Win32 of a process just started: no window classes, windows,
// rendering contexts or queued messages, nothing recorded; and a backend
// with a screen of seven pixel formats (the 7th the only one a window can
// use, so that the index passed on is seen to be the chosen one), surfaces
// of 256 by 256 shown at once, a font and its clock at 0.
void resetWin32();

// A window of a class whose procedure does nothing, made unlogged (its
// creation is no test's concern) and never painted, for the calls that need
// a window.
HWND bareWindow();

// The window's device context, unlogged.
HDC deviceContextOf(HWND window);

// The stock system font, unlogged.
HGDIOBJ systemFontObject();

// What PostQuitMessage asked for and GetMessageA has not delivered yet.
std::optional<WPARAM> postedQuitCode();

// The rendering context the backend has current, or NULL.
HGLRC currentContext();

// The texts of the message boxes shown, in order.
std::vector<std::string> messageBoxTexts();
