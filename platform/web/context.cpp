// The rendering context: a WebGL 2 context on the canvas, with the OpenGL
// state drawn through it, and the font's display lists in it.
#include <emscripten/html5.h>

#include <string>

#include "platform/web/gl_entry_points.h"
#include "platform/web/gl_machine.h"
#include "platform/web/glyph_font.h"
#include "platform/web/page.h"

// The canvas's WebGL context as page.js draws on it.
extern "C" {
// Starts following the canvas's context as the browser takes it away and
// gives it back.
void quennWebGlWatchLoss();
int quennWebGlLost();
unsigned quennWebGlRestorations();
int quennWebGlMakeObjects();
void quennWebGlClear(float r, float g, float b, float a);
void quennWebGlDrawQuads(const QuadVertex* vertices, int count, int x, int y, int width, int height,
                         int blend, unsigned source, unsigned destination);
}

namespace {

class PageWebGl final : public WebGlPage {
public:
    bool lost() const override { return quennWebGlLost() != 0; }
    unsigned restorations() const override { return quennWebGlRestorations(); }
    bool makeObjects() override { return quennWebGlMakeObjects() != 0; }
    void clear(float r, float g, float b, float a) override { quennWebGlClear(r, g, b, a); }
    void drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                   BlendState blend) override {
        quennWebGlDrawQuads(vertices, static_cast<int>(count), viewport.x, viewport.y,
                            viewport.width, viewport.height, blend.enabled, blend.source,
                            blend.destination);
    }
};

}  // namespace

struct RenderContext {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle;
    PageWebGl page;
    CanvasDevice device{page};
    GlMachine machine{device};
};

// Without antialiasing, alpha or depth: every pixel is one of the scene's
// colours, and the page shows the canvas opaque.
RenderContext* backend::createContext(Surface&, int) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    const std::string selector = std::string("#") + kCanvasId;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle =
        emscripten_webgl_create_context(selector.c_str(), &attributes);
    if (handle <= 0) return nullptr;
    auto* renderContext = new RenderContext{handle, {}};
    quennWebGlWatchLoss();
    // Shaders the browser refuses leave a context that cannot draw: a
    // failure, as a missing WebGL 2 is. The objects are made on the new
    // context, then the current one is current again.
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE previous = emscripten_webgl_get_current_context();
    emscripten_webgl_make_context_current(handle);
    const bool drawable = renderContext->device.prepare();
    emscripten_webgl_make_context_current(previous);
    if (!drawable) {
        emscripten_webgl_destroy_context(handle);
        delete renderContext;
        return nullptr;
    }
    return renderContext;
}

bool backend::makeCurrent(Surface*, RenderContext* context) {
    if (!context) {
        emscripten_webgl_make_context_current(0);
        makeCurrentGl(nullptr);
        return true;
    }
    if (currentGl() == &context->machine) return true;
    if (emscripten_webgl_make_context_current(context->handle) != EMSCRIPTEN_RESULT_SUCCESS) {
        return false;
    }
    makeCurrentGl(&context->machine);
    return true;
}

bool backend::deleteContext(RenderContext* context) {
    if (currentGl() == &context->machine) makeCurrent(nullptr, nullptr);
    emscripten_webgl_destroy_context(context->handle);
    delete context;
    return true;
}

// The browser shows what the frame drew when the animation frame ends.
bool backend::present(Surface&) {
    if (GlMachine* machine = currentGl()) machine->finish();
    return true;
}

bool backend::makeFontBitmaps(const SystemFont&, DWORD first, DWORD count, DWORD listBase) {
    GlMachine* machine = currentGl();
    if (!machine) return false;
    for (DWORD i = 0; i < count; ++i) {
        machine->defineBitmapList(listBase + i, glyph_font::glyph(first + i));
    }
    return true;
}
