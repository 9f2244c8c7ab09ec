#pragma once

// The recording Win32: the subset of platform/win32.h, on the CallLog
// timeline that the recording OpenGL writes to, with scriptable results.
//
// While a RecordingWin32 exists, it is the one the Win32 calls act on (the
// latest constructed; destroying it restores the one before). With none,
// every call returns 0 or NULL. Every call is logged, while a CallLog is
// active, as call(name, args, bytes):
// - handles and pointers as their integer values (NULL is 0);
// - strings (a window title, a class name, a message box text) in `bytes`;
// - records that a call reads (PIXELFORMATDESCRIPTOR, WNDCLASSEXA, RECT, MSG)
//   kept whole in the RecordingWin32, or as their fields in `args`.
// Each call of the window procedure that the double makes on Windows'
// behalf is logged too, as windowProcedure(window, message, wParam, lParam),
// before the procedure runs.
//
// Windows' behaviour that the program relies on:
// - CreateWindowExA of a registered class calls its window procedure with
//   WM_CREATE and then WM_SIZE (the client size) before it returns; a -1
//   from WM_CREATE makes it return NULL.
// - UpdateWindow sends WM_PAINT straight to the window procedure.
// - DispatchMessageA calls the window procedure of msg->hwnd.
// - PostQuitMessage makes GetMessageA return 0 with WM_QUIT and the code in
//   wParam, once the scripted messages before it are delivered.

#include <array>
#include <cstdint>
#include <deque>
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

// One entry of GetMessageA's script: the message it writes and the result it
// returns (nonzero, 0 for WM_QUIT, or -1 for an error).
struct ScriptedMessage {
    MSG msg;
    BOOL result;
};

// The packing of two 16-bit halves into an lParam, as Windows sends them.
constexpr LPARAM packPoint(uint16_t x, uint16_t y) {
    return static_cast<LPARAM>(static_cast<uint32_t>(x) | static_cast<uint32_t>(y) << 16);
}

class RecordingWin32 {
public:
    RecordingWin32();
    ~RecordingWin32();
    RecordingWin32(const RecordingWin32&) = delete;
    RecordingWin32& operator=(const RecordingWin32&) = delete;

    // ---- Scripted results (a test changes them before the calls) --------

    ATOM atom = 0xC001;                                // RegisterClassExA; 0 fails
    HWND window = fakeHandle<HWND>(0x1000);            // CreateWindowExA; NULL fails
    HDC deviceContext = fakeHandle<HDC>(0x2000);       // GetDC; NULL fails
    int pixelFormat = 7;                               // ChoosePixelFormat; 0 fails
    HGLRC renderContext = fakeHandle<HGLRC>(0x3000);   // wglCreateContext; NULL fails
    HICON icon = fakeHandle<HICON>(0x4000);            // LoadIconA
    HCURSOR cursor = fakeHandle<HCURSOR>(0x5000);      // LoadCursorA
    HGDIOBJ systemFont = fakeHandle<HGDIOBJ>(0x6000);  // GetStockObject(SYSTEM_FONT)
    LRESULT defaultResult = 0xDEF;                     // DefWindowProcA
    // AdjustWindowRect grows the rectangle by this frame on each side.
    RECT frame{8, 31, 8, 8};
    // GetCharWidth32A's widths, by character code: 6 + code % 5 unless set.
    std::array<int32_t, 256> charWidths;
    // GetTickCount's results in order; once used up, the last one again
    // (0 if there was none).
    std::deque<DWORD> ticks;
    // GetMessageA's messages in order. Once they are used up, the quit
    // message: the code PostQuitMessage posted, or kUnscriptedQuitCode.
    std::deque<ScriptedMessage> messages;
    static constexpr WPARAM kUnscriptedQuitCode = 99;

    // ---- What the program did -------------------------------------------

    std::optional<WNDCLASSEXA> windowClass;                  // the latest registered
    std::string className;                                   // its lpszClassName, copied
    std::vector<PIXELFORMATDESCRIPTOR> pixelFormatRequests;  // ChoosePixelFormat's, in order
    std::vector<PIXELFORMATDESCRIPTOR> pixelFormatsSet;      // SetPixelFormat's, in order
    std::vector<std::string> messageBoxTexts;
    HWND createdWindow = nullptr;       // the window CreateWindowExA made
    WNDPROC windowProcedure = nullptr;  // its class's procedure
    HGLRC currentContext = nullptr;     // as wglMakeCurrent left it
    int deviceContextsHeld = 0;         // GetDC successes minus ReleaseDC calls
    std::optional<WPARAM> quitCode;     // posted, not yet delivered

    // Calls the created window's procedure as Windows would, logged.
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // A message for the created window (or `window` before creation).
    ScriptedMessage message(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // A GetMessageA failure: -1, with a WM_CLOSE written that must not be
    // dispatched.
    ScriptedMessage failure() const;

private:
    RecordingWin32* previous_;
};

// The instance the calls act on, or nullptr.
RecordingWin32* activeWin32();
