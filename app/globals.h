#pragma once

#include <cstdint>

#include "app/frame_rate_counter.h"
#include "common/tick_time.h"
#include "gl/bitmap_font.h"
#include "gl/gl_context.h"

// The program's globals, defined in construction order in globals.cpp. The
// scene is reached through currentScene (scene/scene.h), the drag through
// dragState (scene/drag.h).

extern TickTime startTime;  // window creation: frame times count from here
extern FrameRateCounter frameCounter;
extern GlContext glContext;
extern BitmapFont font;
extern int32_t clientWidth;  // client size in pixels from the latest WM_SIZE
extern int32_t clientHeight;
