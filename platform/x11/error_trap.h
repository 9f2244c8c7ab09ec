#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

// Catches the protocol errors of a run of requests, so that the caller can
// tell that the server refused them instead of the error being only reported.
// An error of an earlier request is not the trap's and goes on to the report.
class ErrorTrap {
public:
    // `firstSerial`: the serial of the run's first request (NextRequest).
    explicit ErrorTrap(unsigned long firstSerial) : firstSerial_(firstSerial) {}

    // Takes the error if one of the trapped requests caused it; false leaves
    // it to the usual report.
    bool claim(const XErrorEvent& error);

    // The code of the first error taken, Success (0) for none.
    unsigned char errorCode() const { return errorCode_; }

private:
    unsigned long firstSerial_;
    unsigned char errorCode_ = Success;
};
