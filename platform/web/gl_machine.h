#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/web/bitmap.h"
#include "platform/web/canvas_device.h"
#include "platform/web/matrix.h"
#include "platform/web/raster_geometry.h"

// Quads gathered for one draw call: drawn together when the state they
// share changes or the frame ends.
class QuadBatch {
public:
    // Corners in drawing order, each with its colour.
    void add(const std::array<Vec4, 4>& corners, const std::array<uint32_t, 4>& colours);
    bool empty() const { return vertices.empty(); }

    // Draws what was gathered, if anything, and starts afresh.
    void flush(WebGlDevice& device, Viewport viewport, BlendState blend);

    // Forgets what was gathered: a clear covers it.
    void discard() { vertices.clear(); }

private:
    std::vector<QuadVertex> vertices;
};

// A colour as the framebuffer stores it: each channel clamped to 0..1 and
// rounded to 8 bits.
uint32_t packColour(float r, float g, float b, float a);

// OpenGL 1.1 as quenn calls it, one rendering context's state, drawn
// through a WebGlDevice. Lines, quads and bitmaps all become quads in one
// batch, drawn when blending or the viewport changes or the frame ends.
// Arguments OpenGL would refuse leave the state as it was.
class GlMachine {
public:
    explicit GlMachine(WebGlDevice& device);

    // Matrices: the current one of GL_MODELVIEW and GL_PROJECTION.
    void matrixMode(GLenum mode);
    void loadIdentity();
    void multiply(const Mat4& matrix);
    void frustum(double l, double r, double b, double t, double n, double f);
    void ortho(double l, double r, double b, double t, double n, double f);
    void rotate(float degrees, float x, float y, float z);
    void translate(float x, float y, float z);

    void viewport(int x, int y, int width, int height);
    void colour(float r, float g, float b, float a);
    void lineWidth(float width);
    void polygonMode(GLenum face, GLenum mode);
    void setEnabled(GLenum capability, bool enabled);
    void blendFunc(GLenum source, GLenum destination);
    void clearColour(float r, float g, float b, float a);
    void clear(GLbitfield mask);

    // Immediate mode: GL_LINES and GL_QUADS.
    void begin(GLenum mode);
    void vertex(float x, float y, float z);
    void end();

    // Bitmaps at the raster position, in the raster colour.
    void rasterPos(float x, float y);
    void bitmap(const Bitmap& bitmap);
    GLuint genLists(GLsizei range);
    void listBase(GLuint base);
    void callLists(GLsizei n, GLenum type, const GLvoid* lists);
    // Makes list `list` draw `bitmap`, as wglUseFontBitmapsA compiles it; a
    // name glGenLists did not hand out is left alone.
    void defineBitmapList(GLuint list, const Bitmap& bitmap);

    // Draws everything asked for so far.
    void finish();

    // Where the raster position is, in window pixels; valid or not.
    struct RasterPosition {
        bool valid;
        WindowPoint window;
        float z;  // normalised depth
        uint32_t rgba;
    };
    RasterPosition rasterPosition() const { return raster; }

private:
    struct Corner {
        Vec4 clip;
        uint32_t rgba;
    };

    Mat4& currentMatrix();
    const Mat4& modelViewProjection();
    void drawLine(Corner a, Corner b);
    void drawQuad(const Corner (&corners)[4]);
    bool frontFacing(const Corner (&corners)[4]) const;
    void changeBlend(BlendState next);
    void callList(GLuint list);

    WebGlDevice& device;
    QuadBatch batch;

    GLenum matrixModeValue = GL_MODELVIEW;
    Mat4 modelView = Mat4::identity();
    Mat4 projection = Mat4::identity();
    Mat4 combined = Mat4::identity();
    bool combinedStale = false;

    Viewport view{0, 0, 0, 0};
    BlendState blend{false, GL_ONE, GL_ZERO};
    bool cullFace = false;
    std::array<float, 4> currentRgba{1.0f, 1.0f, 1.0f, 1.0f};
    uint32_t currentPacked;
    float clearRgba[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float linePixels = 1.0f;  // the line width as drawn
    GLenum frontMode = GL_FILL;
    GLenum backMode = GL_FILL;

    GLenum primitive = 0;  // 0 outside glBegin/glEnd
    Corner pending[4];
    int pendingCount = 0;

    RasterPosition raster;

    std::map<GLuint, Bitmap> lists;  // named by glGenLists; bitmap-less lists are empty
    GLuint nextList = 1;
    GLuint base = 0;
};
