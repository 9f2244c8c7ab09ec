#include "tests/e2e/x11_layer/refused_windows.h"

#include <cstring>

#include "platform/x11/x_window_faults.h"

namespace {

const char* refusedClass = nullptr;

}  // namespace

RefusedWindows::RefusedWindows(const char* className) {
    refusedClass = className;
}

RefusedWindows::~RefusedWindows() {
    refusedClass = nullptr;
}

// The layer's seam: this build asks the server for the refused class's
// windows in a form it rejects.
bool refuseXWindow(const XWindowParams& params) {
    return refusedClass && std::strcmp(params.className, refusedClass) == 0;
}
