// OpenGL 1.1's functions, as the program calls them, on the current context.
#include "platform/web/gl_entry_points.h"

#include <GL/gl.h>

#include "platform/web/gl_machine.h"

namespace {
GlMachine* current = nullptr;
}  // namespace

void makeCurrentGl(GlMachine* machine) {
    current = machine;
}

GlMachine* currentGl() {
    return current;
}

// Each function forwards to the current context's operation, if any.
#define ON_CURRENT(call) \
    if (current) current->call

void GLAPIENTRY glMatrixMode(GLenum mode) {
    ON_CURRENT(matrixMode(mode));
}
void GLAPIENTRY glLoadIdentity() {
    ON_CURRENT(loadIdentity());
}
void GLAPIENTRY glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    ON_CURRENT(frustum(l, r, b, t, n, f));
}
void GLAPIENTRY glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    ON_CURRENT(ortho(l, r, b, t, n, f));
}
void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    ON_CURRENT(rotate(angle, x, y, z));
}
void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    ON_CURRENT(translate(x, y, z));
}
void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    ON_CURRENT(viewport(x, y, width, height));
}
void GLAPIENTRY glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    ON_CURRENT(colour(r, g, b, 1.0f));
}
void GLAPIENTRY glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    ON_CURRENT(colour(r, g, b, a));
}
void GLAPIENTRY glLineWidth(GLfloat width) {
    ON_CURRENT(lineWidth(width));
}
void GLAPIENTRY glPolygonMode(GLenum face, GLenum mode) {
    ON_CURRENT(polygonMode(face, mode));
}
void GLAPIENTRY glEnable(GLenum capability) {
    ON_CURRENT(setEnabled(capability, true));
}
void GLAPIENTRY glDisable(GLenum capability) {
    ON_CURRENT(setEnabled(capability, false));
}
void GLAPIENTRY glBlendFunc(GLenum source, GLenum destination) {
    ON_CURRENT(blendFunc(source, destination));
}
void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    ON_CURRENT(clearColour(r, g, b, a));
}
void GLAPIENTRY glClear(GLbitfield mask) {
    ON_CURRENT(clear(mask));
}
void GLAPIENTRY glBegin(GLenum mode) {
    ON_CURRENT(begin(mode));
}
void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    ON_CURRENT(vertex(x, y, z));
}
void GLAPIENTRY glEnd() {
    ON_CURRENT(end());
}
void GLAPIENTRY glRasterPos2f(GLfloat x, GLfloat y) {
    ON_CURRENT(rasterPos(x, y));
}
void GLAPIENTRY glListBase(GLuint base) {
    ON_CURRENT(listBase(base));
}
void GLAPIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    ON_CURRENT(callLists(n, type, lists));
}
void GLAPIENTRY glFinish() {
    ON_CURRENT(finish());
}

GLuint GLAPIENTRY glGenLists(GLsizei range) {
    return current ? current->genLists(range) : 0;
}

// Rows of the bitmap are read as OpenGL's default unpacking lays them out:
// each starts on a 4-byte boundary.
void GLAPIENTRY glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                         GLfloat ymove, const GLubyte* bits) {
    if (!current || width < 0 || height < 0) return;
    Bitmap image{width, height, xorig, yorig, xmove, ymove, {}};
    if (!bits) image.width = image.height = 0;
    const size_t stride = (static_cast<size_t>(image.bytesPerRow()) + 3) / 4 * 4;
    for (int32_t row = 0; row < image.height; ++row) {
        const GLubyte* start = bits + stride * static_cast<size_t>(row);
        image.rows.insert(image.rows.end(), start, start + image.bytesPerRow());
    }
    current->bitmap(image);
}
