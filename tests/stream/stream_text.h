#pragma once

// The OpenGL stream as neutral text, the form the stream tests compare: one
// call a line, its name, then its numeric arguments in order, exactly
// (printed as doubles to 17 digits), and
// - for glGenLists, " = N" with the first list the OpenGL gave;
// - the bytes the call passed (glCallLists' text) in double quotes, with
//   `"`, `\` and bytes outside printable ASCII as \xHH.
// Pointers are left out: their addresses differ from run to run. Every
// file of calls is this text: the stream tests' frames, and the frames the
// benchmarks replay (bench/frame_calls.h).
//
//   glVertex3f 0 1 0
//   glGenLists 96 = 1000
//   glCallLists 5 5121 "FPS 0"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/doubles/call_log.h"

// The lines of every call in order; `firstList` is what glGenLists gave.
std::string streamText(const Calls& calls, uint32_t firstList);

// Appends the calls of `text`, lines as appendStreamLine writes them, to
// `calls`. Their names view `text`, which must outlive them; glGenLists'
// first list is read but not kept. False, naming the first line it cannot
// read in `error`, for a line of any other form or a last line not ended.
bool readStreamText(std::string_view text, Calls& calls, std::string& error);

// The OpenGL calls of each frame in `calls`: those up to and between the
// swaps (SwapBuffers), leaving out every other Win32 call. Calls after the
// last swap make no frame.
std::vector<Calls> openGlFrames(const Calls& calls);
