#include "app/error.h"

#include "platform/win32.h"

void showError(const char* text) {
    MessageBoxA(nullptr, text, nullptr, MB_OK);
}
