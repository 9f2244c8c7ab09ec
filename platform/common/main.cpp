// The program's entry point over a backend: the runtime calls main, main
// calls the program's WinMain, as the Windows startup code does.
//
// exit, not a return: in the page main returns to the browser long before
// WinMain does, when it first waits for a frame. exit runs the teardown
// registered at exit (natively as a return from main would).
#include <cstdlib>
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
    std::exit(WinMain(&instance, nullptr, arguments.data(), SW_SHOW));
}
