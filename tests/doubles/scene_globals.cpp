// The program's scene globals for tests that link the scene without the
// program: no scene until a test points currentScene at its own, and a
// fresh drag.
#include "scene/drag.h"
#include "scene/scene.h"

Scene* currentScene = nullptr;
DragState dragState;
