#include "tests/doubles/test_win32.h"

#include <map>

#include "platform/common/desktop.h"
#include "tests/doubles/call_log.h"
#include "tests/doubles/fake_backend.h"

// The subset's own entry points, subset_NAME, renamed where it is built and
// declared by CMakeLists.txt.
#include "subset_entry_points.h"

namespace {

struct Front {
    Win32Record record;
    std::map<std::string, WNDPROC> procedures;  // of each class, by name
};

Front& front() {
    static auto* theFront = new Front;
    return *theFront;
}

std::string textOf(LPCSTR text) {
    return text ? std::string(text) : std::string();
}

// Every class's procedure as the subset calls it: logged, then the class's own.
LRESULT CALLBACK loggedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    logTo{"windowProcedure"}(logged(window), message, wParam, lParam);
    const WNDPROC procedure = front().procedures.at(window->surface->className);
    return procedure(window, message, wParam, lParam);
}

LRESULT CALLBACK doNothing(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

}  // namespace

Win32Record& win32Record() {
    return front().record;
}

void resetWin32() {
    desktop() = Desktop{};
    fake::backend() = fake::Backend{};
    fake::Backend& backend = fake::backend();
    PixelFormatDescription singleBuffered = fake::screenFormat(24, 0, 24);
    singleBuffered.doubleBuffered = false;
    backend.formats.assign(6, singleBuffered);
    backend.formats.push_back(fake::screenFormat(24, 0, 24));
    backend.made = {256, 256, true, false};
    front() = Front{};
}

HWND bareWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = doNothing;
    windowClass.lpszClassName = "Bare";
    subset_RegisterClassExA(&windowClass);
    const HWND window = subset_CreateWindowExA(0, "Bare", "", 0, 0, 0, 256, 256, nullptr, nullptr,
                                               nullptr, nullptr);
    window->surface->state.onScreen = false;  // never painted
    return window;
}

HDC deviceContextOf(HWND window) {
    return subset_GetDC(window);
}

HGDIOBJ systemFontObject() {
    return subset_GetStockObject(SYSTEM_FONT);
}

std::optional<WPARAM> postedQuitCode() {
    if (!desktop().quitPosted) return std::nullopt;
    return static_cast<WPARAM>(desktop().exitCode);
}

HGLRC currentContext() {
    const RenderContext* current = fake::backend().current;
    return desktop().contexts.findIf(
        [current](const HGLRC__& c) { return current && c.context == current; });
}

std::vector<std::string> messageBoxTexts() {
    std::vector<std::string> texts;
    for (const fake::Backend::Box& box : fake::backend().boxes) texts.push_back(box.text);
    return texts;
}

// An entry point that logs the numbers `kept`, then passes its arguments on
// to the subset; QUENN_WIN32's keeps every argument, as a number, in order.
#define QUENN_WIN32_KEEPING(result, name, parameters, kept, arguments) \
    result WINAPI name parameters {                                    \
        logTo{#name} kept;                                             \
        return subset_##name arguments;                                \
    }
#define QUENN_WIN32(result, name, parameters, arguments) \
    QUENN_WIN32_KEEPING(result, name, parameters, arguments, arguments)
// One taking a message, which the log keeps as its window, id and parameters.
#define QUENN_WIN32_MESSAGE(result, name)               \
    QUENN_WIN32_KEEPING(result, name, (const MSG* msg), \
                        (logged(msg->hwnd), msg->message, msg->wParam, msg->lParam), (msg))

// ---- kernel32 -------------------------------------------------------------

QUENN_WIN32(DWORD, GetTickCount, (), ())

// ---- user32 ---------------------------------------------------------------

QUENN_WIN32(BOOL, ShowWindow, (HWND window, int command), (window, command))
QUENN_WIN32(BOOL, UpdateWindow, (HWND window), (window))
QUENN_WIN32(LRESULT, DefWindowProcA, (HWND window, UINT message, WPARAM wParam, LPARAM lParam),
            (window, message, wParam, lParam))
QUENN_WIN32(void, PostQuitMessage, (int exitCode), (exitCode))
QUENN_WIN32(HICON, LoadIconA, (HINSTANCE instance, LPCSTR name), (instance, name))
QUENN_WIN32(HCURSOR, LoadCursorA, (HINSTANCE instance, LPCSTR name), (instance, name))

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    logCall({"RegisterClassExA", {}, textOf(windowClass->lpszClassName)});
    Front& state = front();
    state.record.windowClass = *windowClass;
    state.record.className = textOf(windowClass->lpszClassName);
    WNDCLASSEXA passedOn = *windowClass;
    passedOn.lpfnWndProc = loggedProcedure;
    const ATOM atom = subset_RegisterClassExA(&passedOn);
    if (atom) state.procedures[state.record.className] = windowClass->lpfnWndProc;
    return atom;
}

QUENN_WIN32_KEEPING(BOOL, AdjustWindowRect, (LPRECT rect, DWORD style, BOOL menu),
                    (rect->left, rect->top, rect->right, rect->bottom, style, menu),
                    (rect, style, menu))

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    logCall(
        {"CreateWindowExA",
         {double(exStyle), logged(className), double(style), double(x), double(y), double(width),
          double(height), logged(parent), logged(menu), logged(instance), logged(param)},
         textOf(windowName)});
    return subset_CreateWindowExA(exStyle, className, windowName, style, x, y, width, height,
                                  parent, menu, instance, param);
}

QUENN_WIN32_KEEPING(BOOL, GetMessageA, (LPMSG msg, HWND window, UINT filterMin, UINT filterMax),
                    (logged(window), filterMin, filterMax), (msg, window, filterMin, filterMax))
QUENN_WIN32_MESSAGE(BOOL, TranslateMessage)
QUENN_WIN32_MESSAGE(LRESULT, DispatchMessageA)

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    logCall({"MessageBoxA", {logged(owner), logged(caption), double(type)}, textOf(text)});
    return subset_MessageBoxA(owner, text, caption, type);
}

HDC WINAPI GetDC(HWND window) {
    logTo{"GetDC"}(logged(window));
    const HDC deviceContext = subset_GetDC(window);
    if (deviceContext) ++front().record.deviceContextsHeld;
    return deviceContext;
}

int WINAPI ReleaseDC(HWND window, HDC deviceContext) {
    logTo{"ReleaseDC"}(logged(window), logged(deviceContext));
    --front().record.deviceContextsHeld;
    return subset_ReleaseDC(window, deviceContext);
}

// ---- gdi32 ----------------------------------------------------------------

QUENN_WIN32(BOOL, SwapBuffers, (HDC deviceContext), (deviceContext))
QUENN_WIN32(HGDIOBJ, GetStockObject, (int object), (object))
QUENN_WIN32(HGDIOBJ, SelectObject, (HDC deviceContext, HGDIOBJ object), (deviceContext, object))

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    logTo{"ChoosePixelFormat"}(logged(deviceContext));
    front().record.pixelFormatRequests.push_back(*request);
    return subset_ChoosePixelFormat(deviceContext, request);
}

BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request) {
    logTo{"SetPixelFormat"}(logged(deviceContext), format);
    front().record.pixelFormatsSet.push_back(*request);
    return subset_SetPixelFormat(deviceContext, format, request);
}

QUENN_WIN32_KEEPING(BOOL, GetCharWidth32A, (HDC deviceContext, UINT first, UINT last, LPINT widths),
                    (logged(deviceContext), first, last), (deviceContext, first, last, widths))

// ---- opengl32 (WGL) -------------------------------------------------------

QUENN_WIN32(HGLRC, wglCreateContext, (HDC deviceContext), (deviceContext))
QUENN_WIN32(BOOL, wglMakeCurrent, (HDC deviceContext, HGLRC context), (deviceContext, context))
QUENN_WIN32(BOOL, wglDeleteContext, (HGLRC context), (context))
QUENN_WIN32(BOOL, wglUseFontBitmapsA, (HDC deviceContext, DWORD first, DWORD count, DWORD base),
            (deviceContext, first, count, base))

#undef QUENN_WIN32_MESSAGE
#undef QUENN_WIN32
#undef QUENN_WIN32_KEEPING
