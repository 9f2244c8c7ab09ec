#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/opengl.h"

// One OpenGL call as the recording OpenGL saw it: the function's name and its
// numeric arguments in order, widened to double (exact for every GL type the
// program passes). Pointer arguments: glCallLists' bytes go to `bytes`;
// glBitmap's bitmap is recorded as a last argument, 1 when non-null.
struct GlCall {
    std::string_view name;
    std::vector<double> args;
    std::string bytes;

    friend bool operator==(const GlCall&, const GlCall&) = default;
};
using GlCalls = std::vector<GlCall>;

GlCall glCall(std::string_view name, std::vector<double> args = {}, std::string bytes = {});

// Prints a call as "glVertex3f(0, 1, 0)", for test failure messages.
std::ostream& operator<<(std::ostream& out, const GlCall& call);

// While one exists, every OpenGL call of the program is appended to its
// `calls`; with none, the calls have no effect, as with no current context.
class RecordingGl {
public:
    RecordingGl();
    ~RecordingGl();
    RecordingGl(const RecordingGl&) = delete;
    RecordingGl& operator=(const RecordingGl&) = delete;

    GlCalls calls;
    GLuint genListsResult = 1;  // what glGenLists returns

    size_t count(std::string_view name) const;
    GlCalls named(std::string_view name) const;
    // The calls from index `first` on, up to (not including) `last`.
    GlCalls slice(size_t first, size_t last) const;
};
