#pragma once

#ifdef _WIN32
#error "the layers keep window classes where Windows does not: there the system keeps them"
#endif

#include <string>
#include <vector>

#include "platform/win32.h"

// What a window takes from its class.
struct WindowClass {
    ATOM atom;
    std::string name;
    UINT style;
    WNDPROC procedure;
};

// The registered window classes of the process.
class ClassRegistry {
public:
    // Keeps a copy of the class and returns its atom (from 0xC000 on, the
    // range of Windows' registered classes); 0 for a record of the wrong size,
    // without a window procedure or a name string, or with a name already
    // registered (names compare without case, as on Windows).
    ATOM add(const WNDCLASSEXA* windowClass);

    // The class named by an atom (MAKEINTATOM) or a name; nullptr for none.
    // The pointer is good until the next add.
    const WindowClass* find(LPCSTR atomOrName) const;

private:
    const WindowClass* byAtom(ATOM atom) const;
    const WindowClass* byName(const char* name) const;

    std::vector<WindowClass> classes_;
};
