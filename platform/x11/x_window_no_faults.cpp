#include "platform/x11/x_window_faults.h"

bool refuseXWindow(const XWindowParams&) {
    return false;
}
