// The bare start-up floor natively (bench/startup_floor.h): straight Xlib
// and GLX, none of the program's own layer: the least any program must do
// to show this frame here.
#include <GL/glx.h>
#include <X11/Xlib.h>

#include "bench/startup_floor.h"

namespace {

class GlxReplayTarget : public ReplayTarget {
public:
    GlxReplayTarget(Display* display, Window window, GLXContext context, GLint listBase)
        : display_(display), window_(window), context_(context), listBase_(listBase) {}
    void makeCurrent() override { glXMakeCurrent(display_, window_, context_); }
    void present() override { glXSwapBuffers(display_, window_); }
    GLint listBase() const override { return listBase_; }

private:
    Display* display_;
    Window window_;
    GLXContext context_;
    GLint listBase_;
};

}  // namespace

int main(int argc, char** argv) {
    RecordedFrame firstFrame;
    if (argc != 2 || !loadFirstFrame(argv[1], firstFrame)) return 1;

    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    // What the program asks for: RGBA, double-buffered, a depth buffer.
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (!visual) return 1;
    const Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes windowAttributes{};
    windowAttributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    const Window window =
        XCreateWindow(display, root, 0, 0, kFloorClientSize, kFloorClientSize, 0, visual->depth,
                      InputOutput, visual->visual, CWColormap, &windowAttributes);
    const GLXContext context = glXCreateContext(display, visual, nullptr, True);
    if (!context || !glXMakeCurrent(display, window, context)) return 1;

    // The system font the program's layer takes, its widths and its lists.
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    if (!font) return 1;
    const GLuint firstList = glGenLists(kFloorCharCount);
    glXUseXFont(font->fid, kFloorFirstChar, kFloorCharCount, static_cast<int>(firstList));

    XMapWindow(display, window);
    GlxReplayTarget target(display, window, context,
                           static_cast<GLint>(firstList) - kFloorFirstChar);
    firstFrame.replay(target);
    return 0;
}
