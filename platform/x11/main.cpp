// The Linux program's entry point: the runtime calls main, main calls the
// program's WinMain, as the Windows startup code does.

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <string>

#include "platform/common/desktop.h"

namespace {

// The arguments after the program's name, separated by spaces, as
// WinMain's command line has them.
std::string commandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    static HINSTANCE__ instance;
    std::string arguments = commandLine(argc, argv);
    return WinMain(&instance, nullptr, arguments.data(), SW_SHOW);
}
