#pragma once

// OpenGL 1.1. On Windows <GL/gl.h> needs the Win32 declarations first.
#include "platform/win32.h"

#include <GL/gl.h>
