// OpenGL that does nothing, for benchmarks: the calls are still made, since
// the compiler cannot see through this translation unit.
#include "platform/opengl.h"

namespace {
template <typename... Args>
void ignore(Args...) {}
}  // namespace

#define QUENN_GL(name, parameters, arguments) \
    void GLAPIENTRY name parameters {         \
        ignore arguments;                     \
    }
#include "tests/doubles/gl_functions.inc"
#undef QUENN_GL

void GLAPIENTRY glCallLists(GLsizei, GLenum, const GLvoid*) {}
GLuint GLAPIENTRY glGenLists(GLsizei) {
    return 1;
}
void GLAPIENTRY glBitmap(GLsizei, GLsizei, GLfloat, GLfloat, GLfloat, GLfloat, const GLubyte*) {}
