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

void logMessage(std::string_view name, const MSG* msg) {
    logCall({name,
             {logged(msg->hwnd), double(msg->message), double(msg->wParam), double(msg->lParam)},
             {}});
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

// An entry point whose every argument the log keeps, as a number, in order:
// logged, then passed on to the subset.
#define QUENN_WIN32(result, name, parameters, arguments) \
    result WINAPI name parameters {                      \
        logTo{#name} arguments;                          \
        return subset_##name arguments;                  \
    }

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

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    logTo{"AdjustWindowRect"}(rect->left, rect->top, rect->right, rect->bottom, style, menu);
    return subset_AdjustWindowRect(rect, style, menu);
}

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

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    logTo{"GetMessageA"}(logged(window), filterMin, filterMax);
    return subset_GetMessageA(msg, window, filterMin, filterMax);
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    logMessage("TranslateMessage", msg);
    return subset_TranslateMessage(msg);
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    logMessage("DispatchMessageA", msg);
    return subset_DispatchMessageA(msg);
}

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

BOOL WINAPI GetCharWidth32A(HDC deviceContext, UINT first, UINT last, LPINT widths) {
    logTo{"GetCharWidth32A"}(logged(deviceContext), first, last);
    return subset_GetCharWidth32A(deviceContext, first, last, widths);
}

// ---- opengl32 (WGL) -------------------------------------------------------

QUENN_WIN32(HGLRC, wglCreateContext, (HDC deviceContext), (deviceContext))
QUENN_WIN32(BOOL, wglMakeCurrent, (HDC deviceContext, HGLRC context), (deviceContext, context))
QUENN_WIN32(BOOL, wglDeleteContext, (HGLRC context), (context))
QUENN_WIN32(BOOL, wglUseFontBitmapsA, (HDC deviceContext, DWORD first, DWORD count, DWORD base),
            (deviceContext, first, count, base))

#undef QUENN_WIN32
