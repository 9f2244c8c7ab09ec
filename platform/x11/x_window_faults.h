#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include "platform/x11/x_window.h"

// The seam the layer's tests reach its refused-window path through: whether
// to ask the server for this window in a form it must refuse, so that the
// real protocol error comes back. The programs link x_window_no_faults.cpp,
// whose answer is always no; only the tests' own build links another answer.
bool refuseXWindow(const XWindowParams& params);
