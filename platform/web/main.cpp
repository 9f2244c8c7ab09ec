// The page's entry point: the runtime calls main, main calls the program's
// WinMain.
#include <cstdlib>

#include "platform/web/page.h"

// The instance handle is only a name here.
struct HINSTANCE__ {};

// exit, not a return: main returns to the page long before WinMain does,
// when it first waits for a frame. exit runs the teardown registered at exit
// and then tells the page the exit code.
int main() {
    static HINSTANCE__ instance;
    static char noArguments[] = "";
    std::exit(WinMain(&instance, nullptr, noArguments, SW_SHOW));
}
