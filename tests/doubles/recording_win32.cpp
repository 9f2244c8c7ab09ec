#include "tests/doubles/recording_win32.h"

#include "tests/doubles/call_log.h"

namespace {

RecordingWin32* active = nullptr;

std::string textOf(LPCSTR text) {
    return text ? std::string(text) : std::string();
}

// A class is named by its atom when the pointer's value fits in 16 bits.
bool isAtom(LPCSTR className) {
    return reinterpret_cast<uintptr_t>(className) <= 0xFFFF;
}

void logMessage(std::string_view name, const MSG* msg) {
    logCall({name,
             {logged(msg->hwnd), double(msg->message), double(msg->wParam), double(msg->lParam)},
             {}});
}

}  // namespace

RecordingWin32* activeWin32() {
    return active;
}

RecordingWin32::RecordingWin32() : previous_(active) {
    for (size_t code = 0; code < charWidths.size(); ++code)
        charWidths[code] = static_cast<int32_t>(6 + code % 5);
    active = this;
}

RecordingWin32::~RecordingWin32() {
    active = previous_;
}

LRESULT RecordingWin32::send(UINT message, WPARAM wParam, LPARAM lParam) {
    logCall({"windowProcedure",
             {logged(createdWindow), double(message), double(wParam), double(lParam)},
             {}});
    return windowProcedure ? windowProcedure(createdWindow, message, wParam, lParam) : 0;
}

ScriptedMessage RecordingWin32::message(UINT message, WPARAM wParam, LPARAM lParam) const {
    return {MSG{createdWindow ? createdWindow : window, message, wParam, lParam, 0, {0, 0}}, TRUE};
}

ScriptedMessage RecordingWin32::failure() const {
    ScriptedMessage failed = message(WM_CLOSE);
    failed.result = -1;
    return failed;
}

// ---- kernel32 -------------------------------------------------------------

DWORD WINAPI GetTickCount() {
    logTo{"GetTickCount"}();
    RecordingWin32* win32 = active;
    if (!win32) return 0;
    static_assert(sizeof(DWORD) == 4);
    if (win32->ticks.size() > 1) {
        const DWORD tick = win32->ticks.front();
        win32->ticks.pop_front();
        return tick;
    }
    return win32->ticks.empty() ? 0 : win32->ticks.front();
}

// ---- user32 ---------------------------------------------------------------

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    logCall({"RegisterClassExA", {}, textOf(windowClass->lpszClassName)});
    RecordingWin32* win32 = active;
    if (!win32 || win32->atom == 0) return 0;
    win32->windowClass = *windowClass;
    win32->className = textOf(windowClass->lpszClassName);
    return win32->atom;
}

BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    logTo{"AdjustWindowRect"}(rect->left, rect->top, rect->right, rect->bottom, style, menu);
    RecordingWin32* win32 = active;
    if (!win32) return FALSE;
    rect->left -= win32->frame.left;
    rect->top -= win32->frame.top;
    rect->right += win32->frame.right;
    rect->bottom += win32->frame.bottom;
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    logCall(
        {"CreateWindowExA",
         {double(exStyle), logged(className), double(style), double(x), double(y), double(width),
          double(height), logged(parent), logged(menu), logged(instance), logged(param)},
         textOf(windowName)});
    RecordingWin32* win32 = active;
    if (!win32 || !win32->window || !win32->windowClass) return nullptr;
    const bool registered = isAtom(className)
                                ? reinterpret_cast<uintptr_t>(className) == win32->atom
                                : win32->className == className;
    if (!registered) return nullptr;

    win32->createdWindow = win32->window;
    win32->windowProcedure = win32->windowClass->lpfnWndProc;
    if (win32->send(WM_CREATE) == -1) {
        win32->createdWindow = nullptr;
        return nullptr;
    }
    const int clientWidth = width - win32->frame.left - win32->frame.right;
    const int clientHeight = height - win32->frame.top - win32->frame.bottom;
    win32->send(WM_SIZE, 0,
                packPoint(static_cast<uint16_t>(clientWidth), static_cast<uint16_t>(clientHeight)));
    return win32->createdWindow;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    logTo{"ShowWindow"}(logged(window), showCommand);
    return FALSE;  // it was hidden
}

BOOL WINAPI UpdateWindow(HWND window) {
    logTo{"UpdateWindow"}(logged(window));
    RecordingWin32* win32 = active;
    if (!win32 || !win32->createdWindow || window != win32->createdWindow) return FALSE;
    win32->send(WM_PAINT);
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    logTo{"GetMessageA"}(logged(window), filterMin, filterMax);
    RecordingWin32* win32 = active;
    if (!win32) {
        *msg = MSG{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
        return 0;
    }
    if (!win32->messages.empty()) {
        const ScriptedMessage next = win32->messages.front();
        win32->messages.pop_front();
        *msg = next.msg;
        return next.result;
    }
    const WPARAM code = win32->quitCode.value_or(RecordingWin32::kUnscriptedQuitCode);
    win32->quitCode.reset();
    *msg = MSG{nullptr, WM_QUIT, code, 0, 0, {0, 0}};
    return 0;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    logMessage("TranslateMessage", msg);
    return FALSE;  // no key messages, nothing translated
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    logMessage("DispatchMessageA", msg);
    RecordingWin32* win32 = active;
    if (!win32 || !win32->createdWindow || msg->hwnd != win32->createdWindow) return 0;
    return win32->send(msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    logTo{"DefWindowProcA"}(logged(window), message, wParam, lParam);
    return active ? active->defaultResult : 0;
}

void WINAPI PostQuitMessage(int exitCode) {
    logTo{"PostQuitMessage"}(exitCode);
    if (active) active->quitCode = static_cast<WPARAM>(exitCode);
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    logCall({"MessageBoxA", {logged(owner), logged(caption), double(type)}, textOf(text)});
    if (!active) return 0;
    active->messageBoxTexts.push_back(textOf(text));
    return 1;  // IDOK
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    logTo{"LoadIconA"}(logged(instance), logged(name));
    return active ? active->icon : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    logTo{"LoadCursorA"}(logged(instance), logged(name));
    return active ? active->cursor : nullptr;
}

HDC WINAPI GetDC(HWND window) {
    logTo{"GetDC"}(logged(window));
    RecordingWin32* win32 = active;
    if (!win32 || !win32->deviceContext) return nullptr;
    ++win32->deviceContextsHeld;
    return win32->deviceContext;
}

int WINAPI ReleaseDC(HWND window, HDC deviceContext) {
    logTo{"ReleaseDC"}(logged(window), logged(deviceContext));
    RecordingWin32* win32 = active;
    if (!win32) return 0;
    --win32->deviceContextsHeld;
    return 1;
}

// ---- gdi32 ----------------------------------------------------------------

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    logTo{"ChoosePixelFormat"}(logged(deviceContext));
    RecordingWin32* win32 = active;
    if (!win32) return 0;
    win32->pixelFormatRequests.push_back(*request);
    return win32->pixelFormat;
}

BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request) {
    logTo{"SetPixelFormat"}(logged(deviceContext), format);
    RecordingWin32* win32 = active;
    if (!win32) return FALSE;
    win32->pixelFormatsSet.push_back(*request);
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC deviceContext) {
    logTo{"SwapBuffers"}(logged(deviceContext));
    return active != nullptr;
}

HGDIOBJ WINAPI GetStockObject(int object) {
    logTo{"GetStockObject"}(object);
    return active && object == SYSTEM_FONT ? active->systemFont : nullptr;
}

HGDIOBJ WINAPI SelectObject(HDC deviceContext, HGDIOBJ object) {
    logTo{"SelectObject"}(logged(deviceContext), logged(object));
    return nullptr;
}

BOOL WINAPI GetCharWidth32A(HDC deviceContext, UINT first, UINT last, LPINT widths) {
    logTo{"GetCharWidth32A"}(logged(deviceContext), first, last);
    RecordingWin32* win32 = active;
    if (!win32 || !deviceContext || last < first || last >= win32->charWidths.size()) return FALSE;
    for (UINT code = first; code <= last; ++code) widths[code - first] = win32->charWidths[code];
    return TRUE;
}

// ---- opengl32 (WGL) -------------------------------------------------------

HGLRC WINAPI wglCreateContext(HDC deviceContext) {
    logTo{"wglCreateContext"}(logged(deviceContext));
    return active ? active->renderContext : nullptr;
}

BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    logTo{"wglMakeCurrent"}(logged(deviceContext), logged(renderContext));
    if (!active) return FALSE;
    active->currentContext = renderContext;
    return renderContext != nullptr || deviceContext == nullptr;
}

BOOL WINAPI wglDeleteContext(HGLRC renderContext) {
    logTo{"wglDeleteContext"}(logged(renderContext));
    return active && renderContext != nullptr;
}

BOOL WINAPI wglUseFontBitmapsA(HDC deviceContext, DWORD first, DWORD count, DWORD listBase) {
    logTo{"wglUseFontBitmapsA"}(logged(deviceContext), first, count, listBase);
    return active != nullptr;
}
