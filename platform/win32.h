#pragma once

// The Win32 subset quenn uses: on Windows the system headers, elsewhere these
// declarations with the same names, values and meanings, implemented once by
// platform/common/ over a backend (platform/common/backend.h): platform/x11/
// for the Linux program, platform/web/ for the page; or by tests/doubles/
// for the unit tests. This is the program's only platform switch.

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// Leftovers of 16-bit pointers that would erase the program's own names
// (the camera's near and far planes).
#undef near
#undef far

#else

#include <cstdint>

#define WINAPI
#define CALLBACK

// ---- Types ----------------------------------------------------------------

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef uint16_t ATOM;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef int* LPINT;

// Handles are pointers to distinct incomplete types, as with STRICT.
typedef struct HWND__* HWND;
typedef struct HDC__* HDC;
typedef struct HGLRC__* HGLRC;
typedef struct HINSTANCE__* HINSTANCE;
typedef struct HICON__* HICON;
typedef HICON HCURSOR;
typedef struct HBRUSH__* HBRUSH;
typedef struct HMENU__* HMENU;
typedef void* HGDIOBJ;

#define TRUE 1
#define FALSE 0

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;

struct POINT {
    LONG x;
    LONG y;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};

// ---- Constants ------------------------------------------------------------

// A class atom or a resource number where a name is expected: a 16-bit
// number carried in the pointer itself, which the receiver tells from a
// string by its value and never dereferences. The one place where an integer
// becomes a pointer.
inline LPCSTR MAKEINTATOM(WORD atom) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): a number in a pointer's place, never dereferenced
    return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(atom));
}
inline LPCSTR MAKEINTRESOURCEA(WORD id) {
    return MAKEINTATOM(id);
}

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_OWNDC 0x0020

#define WS_OVERLAPPEDWINDOW 0x00CF0000L  // caption, system menu, sizing border, min/max boxes
#define CW_USEDEFAULT (static_cast<int>(0x80000000))
#define SW_SHOW 5

#define WM_CREATE 0x0001
#define WM_SIZE 0x0005
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202

#define MB_OK 0x00000000L
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define SYSTEM_FONT 13

#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_GENERIC_FORMAT 0x00000040
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

// ---- kernel32 -------------------------------------------------------------

DWORD WINAPI GetTickCount();
// Milliseconds of a monotonic clock, modulo 2^32.

// ---- user32 ---------------------------------------------------------------

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass);
// Records the class; returns its atom, 0 on failure.

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
// Grows a client rectangle to the window rectangle of that style.

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
// Creates a window of a registered class, sending it WM_CREATE then WM_SIZE
// before it returns; NULL on failure.

BOOL WINAPI ShowWindow(HWND window, int showCommand);
// Shows (maps) the window.

BOOL WINAPI UpdateWindow(HWND window);
// Sends the window one WM_PAINT at once, straight to its window procedure.

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
// Waits for the next message: 0 for WM_QUIT, -1 on error, else nonzero.
// An empty queue yields WM_PAINT while the window is invalid.

BOOL WINAPI TranslateMessage(const MSG* msg);
// Makes character messages from key messages; quenn handles none.

LRESULT WINAPI DispatchMessageA(const MSG* msg);
// Calls the window procedure of msg->hwnd with the message.

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The default handling of a message the program does not handle.

void WINAPI PostQuitMessage(int exitCode);
// Posts WM_QUIT with the code in wParam: GetMessageA then returns 0.

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// A modal box with the text and an OK button; returns once dismissed.

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
// A stock icon (instance NULL).

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
// A stock cursor (instance NULL).

HDC WINAPI GetDC(HWND window);
// The window's device context (its private one, with CS_OWNDC); NULL on failure.

int WINAPI ReleaseDC(HWND window, HDC deviceContext);
// Gives the device context back; a private one keeps its state.

// ---- gdi32 ----------------------------------------------------------------

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request);
// The index of the closest pixel format to the request; 0 when none fits.

BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request);
// Sets the window's pixel format, once.

BOOL WINAPI SwapBuffers(HDC deviceContext);
// Shows the back buffer of a double-buffered window.

HGDIOBJ WINAPI GetStockObject(int object);
// A stock GDI object, such as SYSTEM_FONT.

HGDIOBJ WINAPI SelectObject(HDC deviceContext, HGDIOBJ object);
// Selects a font into the device context; returns the one it replaces.

BOOL WINAPI GetCharWidth32A(HDC deviceContext, UINT first, UINT last, LPINT widths);
// Advance widths in pixels of the selected font's characters first..last.

// ---- opengl32 (WGL) -------------------------------------------------------

HGLRC WINAPI wglCreateContext(HDC deviceContext);
// A rendering context for the device context's pixel format; NULL on failure.

BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC renderContext);
// Makes the context current on this thread; (NULL, NULL) makes none current.

BOOL WINAPI wglDeleteContext(HGLRC renderContext);
// Deletes a rendering context; FALSE for NULL.

BOOL WINAPI wglUseFontBitmapsA(HDC deviceContext, DWORD first, DWORD count, DWORD listBase);
// Builds display lists listBase.. for the selected font's characters first..,
// each drawing its glyph at the raster position and advancing it.

// ---- The program's entry point --------------------------------------------

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand);

#endif
