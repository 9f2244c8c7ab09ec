// The recording OpenGL: every call goes to the active CallLog. glCallLists
// records its bytes (for GL_UNSIGNED_BYTE) in `bytes`; glBitmap records its
// bitmap as a last argument, 1 when non-null.
#include "platform/opengl.h"
#include "tests/doubles/call_log.h"

// The first display list glGenLists hands out while a log is active, as with
// a current context; 0 without one.
constexpr GLuint kFirstDisplayList = 1000;

#define QUENN_GL(name, parameters, arguments) \
    void GLAPIENTRY name parameters {         \
        logTo{#name} arguments;               \
    }
#include "tests/doubles/gl_functions.inc"
#undef QUENN_GL

void GLAPIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    std::string bytes;
    if (type == GL_UNSIGNED_BYTE && lists && n > 0)
        bytes.assign(static_cast<const char*>(lists), n);
    logCall({"glCallLists", {double(n), double(type)}, std::move(bytes)});
}

GLuint GLAPIENTRY glGenLists(GLsizei range) {
    logTo{"glGenLists"}(range);
    return activeCallLog() ? kFirstDisplayList : 0;
}

void GLAPIENTRY glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                         GLfloat ymove, const GLubyte* bitmap) {
    logTo{"glBitmap"}(width, height, xorig, yorig, xmove, ymove, bitmap ? 1 : 0);
}
