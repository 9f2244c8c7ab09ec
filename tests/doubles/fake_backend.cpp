#include "tests/doubles/fake_backend.h"

#include <algorithm>

namespace fake {

Backend& backend() {
    static auto* theBackend = new Backend;
    return *theBackend;
}

Surface& lastSurface() {
    return *backend().surfaces.back();
}

PixelFormatDescription screenFormat(int colorBits, int alphaBits, int depthBits, int stencilBits) {
    PixelFormatDescription format{};
    format.openGl = format.rgba = format.doubleBuffered = format.mainPlane = true;
    format.opaque = format.trueColor = true;
    format.colorBits = colorBits;
    format.alphaBits = alphaBits;
    format.depthBits = depthBits;
    format.stencilBits = stencilBits;
    return format;
}

}  // namespace fake

namespace {

fake::Backend& state() {
    return fake::backend();
}

}  // namespace

Surface* backend::createSurface(HWND window, const SurfaceRequest& request) {
    if (state().refuseSurfaces) return nullptr;
    auto surface = std::make_unique<Surface>();
    surface->window = window;
    surface->title = request.title;
    surface->className = request.className;
    surface->request = request;
    surface->request.title = surface->title.c_str();
    surface->request.className = surface->className.c_str();
    surface->state = state().made;
    state().surfaces.push_back(std::move(surface));
    return state().surfaces.back().get();
}

void backend::destroySurface(Surface* surface) {
    surface->destroyed = true;
}

bool backend::showSurface(Surface& surface, bool show) {
    if (!surface.canShow) return false;
    surface.state.shown = show;
    return true;
}

SurfaceState backend::surfaceState(const Surface& surface) {
    return surface.state;
}

bool backend::setSurfaceFormat(Surface& surface, int pixelFormat) {
    if (state().refuseFormats) return false;
    surface.pixelFormat = pixelFormat;
    return true;
}

Wake backend::waitForInput(bool paintWaiting) {
    ++state().waits;
    auto& input = state().input;
    if (input.empty()) return paintWaiting ? Wake::Paint : Wake::Lost;
    const auto next = input.front();
    input.pop_front();
    if (const auto* posted = std::get_if<fake::Posted>(&next)) {
        const Surface* surface = posted->surface ? posted->surface : &fake::lastSurface();
        postMessage(surface->window, posted->message);
        return Wake::Input;
    }
    if (const auto* clock = std::get_if<fake::ClockAt>(&next)) {
        state().now = clock->now;
        return Wake::Input;
    }
    return std::get<Wake>(next);
}

uint64_t backend::milliseconds() {
    return state().now;
}

size_t backend::pixelFormatCount() {
    return state().formats.size();
}

// Copies the part from the whole description.
void backend::describePixelFormat(size_t index, DescriptionPart part, PixelFormatDescription& to) {
    const PixelFormatDescription& from = state().formats[index];
    switch (part) {
        case kIdentityPart:
            to.opaque = from.opaque;
            to.trueColor = from.trueColor;
            break;
        case kCandidacyPart:
            to.openGl = from.openGl;
            to.rgba = from.rgba;
            to.doubleBuffered = from.doubleBuffered;
            to.mainPlane = from.mainPlane;
            to.depthBits = from.depthBits;
            break;
        case kRatingPart: to.slow = from.slow; break;
        case kColorPart: to.colorBits = from.colorBits; break;
        case kAlphaPart: to.alphaBits = from.alphaBits; break;
        case kStencilPart: to.stencilBits = from.stencilBits; break;
        case kAccumPart: to.accumBits = from.accumBits; break;
        case kAuxPart: to.auxBuffers = from.auxBuffers; break;
        case kExtrasPart:
            to.stereo = from.stereo;
            to.samples = from.samples;
            break;
        default: break;
    }
}

RenderContext* backend::createContext(Surface& surface, int pixelFormat) {
    if (state().refuseContexts) return nullptr;
    state().contexts.push_back(
        std::make_unique<RenderContext>(RenderContext{&surface, pixelFormat}));
    return state().contexts.back().get();
}

bool backend::makeCurrent(Surface* surface, RenderContext* context) {
    state().current = context;
    state().currentSurface = surface;
    return true;
}

bool backend::deleteContext(RenderContext* context) {
    if (state().current == context) state().current = nullptr;
    std::erase_if(state().contexts, [context](const std::unique_ptr<RenderContext>& c) {
        return c.get() == context;
    });
    return true;
}

bool backend::present(Surface&) {
    ++state().presents;
    return true;
}

SystemFont* backend::systemFont() {
    return state().hasFont ? &state().font : nullptr;
}

int backend::charAdvance(const SystemFont& font, unsigned code) {
    return font.advance + static_cast<int>(code % 2);  // odd codes one wider
}

bool backend::makeFontBitmaps(const SystemFont&, DWORD first, DWORD count, DWORD listBase) {
    if (!state().hasCurrentContextForLists) return false;
    state().lists.push_back(std::to_string(first) + " " + std::to_string(count) + " " +
                            std::to_string(listBase));
    return true;
}

void backend::showMessageBox(Surface* owner, const char* text, const char* caption) {
    state().boxes.push_back({owner, text, caption});
}
