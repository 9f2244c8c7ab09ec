#include "platform/web/page.h"

// The page's modal dialog; the text also goes to the console. Only OK.
int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
    constexpr int kOk = 1;  // IDOK
    quennPageMessageBox(text ? text : "", caption ? caption : "Error");
    return kOk;
}
