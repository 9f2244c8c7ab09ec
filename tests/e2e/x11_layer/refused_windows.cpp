#include "tests/e2e/x11_layer/refused_windows.h"

#include <X11/Xutil.h>

#include <cstring>

namespace {

const char* refusedClass = nullptr;

}  // namespace

RefusedWindows::RefusedWindows(const char* className) {
    refusedClass = className;
}

RefusedWindows::~RefusedWindows() {
    refusedClass = nullptr;
}

extern "C" int __real_XSetClassHint(Display* display, Window window, XClassHint* hint);

// The layer names each window's class as it makes the window, among the
// requests whose errors it traps: for the refused class, one more request
// that the server must refuse (mapping no window) makes it refuse the window.
extern "C" int __wrap_XSetClassHint(Display* display, Window window, XClassHint* hint) {
    const int result = __real_XSetClassHint(display, window, hint);
    if (refusedClass && std::strcmp(hint->res_class, refusedClass) == 0) XMapWindow(display, None);
    return result;
}
