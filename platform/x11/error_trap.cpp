#include "platform/x11/error_trap.h"

bool ErrorTrap::claim(const XErrorEvent& error) {
    if (error.serial < firstSerial_) return false;
    if (errorCode_ == Success) errorCode_ = error.error_code;
    return true;
}
