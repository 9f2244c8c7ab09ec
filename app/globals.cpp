// The global objects, in the order static initialisation builds them.
#include "app/globals.h"

#include <cstdlib>

#include "scene/drag.h"
#include "scene/scene.h"

TickTime startTime;             // set again when the window is created
FrameRateCounter frameCounter;  // counting from window creation
GlContext glContext;            // cleared; init runs at window creation

namespace {
// Registered right after the context exists, so that it runs at exit, after
// WinMain returns, while the window is still alive.
const int glContextTeardown = std::atexit([] { glContext.destroy(); });
}  // namespace

BitmapFont font;  // built at window creation

namespace {
Scene scene;  // grows both plants, before any window exists
}  // namespace

DragState dragState;  // no drag; start angles (0, 0)

constinit Scene* currentScene = &scene;

int32_t clientWidth = 0;
int32_t clientHeight = 0;
