#include "app/main_window.h"

#include "app/window_procedure.h"

static_assert(sizeof(void*) != 4 || sizeof(WNDCLASSEXA) == 48);

ATOM registerWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    // A private device context keeps the pixel format and the font between
    // GetDC calls; the whole window is redrawn when resized.
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;  // nothing erased: every frame covers the window
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "Vell";
    windowClass.hIconSm = nullptr;
    return RegisterClassExA(&windowClass);
}

HWND createMainWindow(ATOM classAtom, HINSTANCE instance, int width, int height, LPCSTR title) {
    // Inclusive right and bottom edges, hence the - 1 here and the + 1 below.
    RECT frame{0, 0, width - 1, height - 1};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, MAKEINTATOM(classAtom), title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                           frame.right - frame.left + 1, frame.bottom - frame.top + 1, nullptr,
                           nullptr, instance, nullptr);
}
