// The page's recording build: every call that reaches the OpenGL subset's
// entry points goes to the recording OpenGL of the unit tests first, then on
// to the subset (web_page.cmake renames both, and the layer's SwapBuffers,
// in this build). The first frame, from the start to the first swap, and
// one later frame when the page asks for it, are handed to the page as the
// neutral text of stream_text.h:
//
//   window.quennStream.first, .later   {frame: its number from 1, calls: its text}
//   window.quennStreamWant = true      records the frame after the next swap
#include <emscripten.h>

#include <optional>

#include "platform/opengl.h"
#include "tests/doubles/call_log.h"
#include "tests/stream/stream_text.h"

#ifndef __EMSCRIPTEN__
#error "the page's recording build is built with Emscripten"
#endif

// OpenGL's functions under their names in this build, with C linkage, as
// <GL/gl.h> declares them: the subset's (quennSubset_) and the recording
// OpenGL's (quennRecord_).
#define QUENN_RENAMED_GL(name, parameters)         \
    void GLAPIENTRY quennSubset_##name parameters; \
    void GLAPIENTRY quennRecord_##name parameters;
extern "C" {
#define QUENN_GL(name, parameters, arguments) QUENN_RENAMED_GL(name, parameters)
#include "tests/doubles/gl_functions.inc"
#undef QUENN_GL
QUENN_RENAMED_GL(glCallLists, (GLsizei n, GLenum type, const GLvoid* lists))
QUENN_RENAMED_GL(glBitmap, (GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig,
                            GLfloat xmove, GLfloat ymove, const GLubyte* bitmap))
GLuint GLAPIENTRY quennSubset_glGenLists(GLsizei range);
GLuint GLAPIENTRY quennRecord_glGenLists(GLsizei range);
}
#undef QUENN_RENAMED_GL
BOOL WINAPI quennLayerSwapBuffers(HDC deviceContext);

// clang-format off
EM_JS(void, quennStreamPublish, (const char* name, int frame, const char* text), {
    window.quennStream = window.quennStream || {};
    window.quennStream[UTF8ToString(name)] = {frame: frame, calls: UTF8ToString(text)};
});

// Whether the page asked for a later frame since the last time; the ask
// is then taken.
EM_JS(int, quennStreamTakeWant, (), {
    const wanted = window.quennStreamWant === true;
    window.quennStreamWant = false;
    return wanted ? 1 : 0;
});
// clang-format on

namespace {
// The frame being recorded, if any: the first one from the start.
std::optional<CallLog> frameLog{std::in_place};
int swaps = 0;
GLuint firstList = 0;  // what the subset's first glGenLists gave
}  // namespace

#define QUENN_GL(name, parameters, arguments) \
    void GLAPIENTRY name parameters {         \
        quennRecord_##name arguments;         \
        quennSubset_##name arguments;         \
    }
#include "tests/doubles/gl_functions.inc"
#undef QUENN_GL

void GLAPIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    quennRecord_glCallLists(n, type, lists);
    quennSubset_glCallLists(n, type, lists);
}

void GLAPIENTRY glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                         GLfloat ymove, const GLubyte* bitmap) {
    quennRecord_glBitmap(width, height, xorig, yorig, xmove, ymove, bitmap);
    quennSubset_glBitmap(width, height, xorig, yorig, xmove, ymove, bitmap);
}

// The recording OpenGL's lists are its own: the program gets the subset's.
GLuint GLAPIENTRY glGenLists(GLsizei range) {
    quennRecord_glGenLists(range);
    const GLuint first = quennSubset_glGenLists(range);
    if (firstList == 0) firstList = first;
    return first;
}

BOOL WINAPI SwapBuffers(HDC deviceContext) {
    ++swaps;
    if (frameLog) {
        const std::string text = streamText(frameLog->calls, firstList);
        quennStreamPublish(swaps == 1 ? "first" : "later", swaps, text.c_str());
        frameLog.reset();
    }
    if (quennStreamTakeWant()) frameLog.emplace();
    return quennLayerSwapBuffers(deviceContext);
}
