// Preloaded into a program (LD_PRELOAD) to time its start-up from outside.
// It writes a line to the file descriptor named by QUENN_PROBE_FD at each
// milestone, the milestone's name and CLOCK_MONOTONIC in nanoseconds, and
// ends the process with 0 once the first frame is presented: glXSwapBuffers
// has returned and the X server has taken the picture.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void mark(const char* milestone) {
    static const char* fd = std::getenv("QUENN_PROBE_FD");
    if (!fd) return;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[96];
    const int length = std::snprintf(line, sizeof line, "%s %lld\n", milestone,
                                     now.tv_sec * 1000000000LL + now.tv_nsec);
    if (write(std::atoi(fd), line, static_cast<size_t>(length)) != length) _exit(3);
}

template <typename Function>
Function* real(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

// Before the program's own static initialisation: the libraries are loaded.
__attribute__((constructor)) void loaded() {
    mark("loaded");
}

}  // namespace

extern "C" {

Display* XOpenDisplay(const char* name) {
    static auto* open = real<Display*(const char*)>("XOpenDisplay");
    mark("display_begin");
    Display* display = open(name);
    mark("display_end");
    return display;
}

// The first query loads Mesa's driver; the ones after it read the visuals.
int glXGetConfig(Display* display, XVisualInfo* visual, int attribute, int* value) {
    static auto* get = real<int(Display*, XVisualInfo*, int, int*)>("glXGetConfig");
    static bool first = true;
    const int result = get(display, visual, attribute, value);
    if (first) mark("driver_loaded");
    first = false;
    return result;
}

GLXContext glXCreateContext(Display* display, XVisualInfo* visual, GLXContext share, Bool direct) {
    static auto* create =
        real<GLXContext(Display*, XVisualInfo*, GLXContext, Bool)>("glXCreateContext");
    mark("context_begin");
    GLXContext context = create(display, visual, share, direct);
    mark("context_end");
    return context;
}

void glXUseXFont(Font font, int first, int count, int listBase) {
    static auto* use = real<void(Font, int, int, int)>("glXUseXFont");
    mark("font_begin");
    use(font, first, count, listBase);
    mark("font_end");
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static auto* swap = real<void(Display*, GLXDrawable)>("glXSwapBuffers");
    mark("swap_begin");
    swap(display, drawable);
    XSync(display, False);
    mark("presented");
    _exit(0);
}
}
