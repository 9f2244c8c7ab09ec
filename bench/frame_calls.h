#pragma once

// A frame's OpenGL calls, recorded once by record_frames and replayed from
// memory through the system's OpenGL: what the frame costs with nothing
// else to do.
//
// A file of them is the calls' neutral text (tests/stream/stream_text.h),
// as the stream tests' are. Read, they are kept as 32-bit words, so that
// the replay costs no more than the calls: for each call its CallCode, then
// its arguments, one word each (a float's bits or an integer), as its
// signature in kCallSignatures says; glCallLists is followed by its text,
// four bytes a word.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/opengl.h"
#include "tests/doubles/call_log.h"

enum class CallCode : uint32_t {
    glBegin,
    glEnd,
    glVertex3f,
    glColor3f,
    glColor4f,
    glLineWidth,
    glEnable,
    glDisable,
    glPolygonMode,
    glClearColor,
    glClear,
    glMatrixMode,
    glLoadIdentity,
    glFrustum,
    glOrtho,
    glTranslatef,
    glRotatef,
    glViewport,
    glBlendFunc,
    glFinish,
    glRasterPos2f,
    glListBase,
    glCallLists,
    wglMakeCurrent,
    SwapBuffers,
};

// A call the replay knows: its name as the recording doubles log it, and its
// arguments: 'f' a float, 'i' an integer, '-' one recorded but not replayed
// (a handle: the replay uses the live ones).
struct CallSignature {
    std::string_view name;
    CallCode code;
    std::string_view arguments;
};

inline constexpr CallSignature kCallSignatures[] = {
    {"glBegin", CallCode::glBegin, "i"},
    {"glEnd", CallCode::glEnd, ""},
    {"glVertex3f", CallCode::glVertex3f, "fff"},
    {"glColor3f", CallCode::glColor3f, "fff"},
    {"glColor4f", CallCode::glColor4f, "ffff"},
    {"glLineWidth", CallCode::glLineWidth, "f"},
    {"glEnable", CallCode::glEnable, "i"},
    {"glDisable", CallCode::glDisable, "i"},
    {"glPolygonMode", CallCode::glPolygonMode, "ii"},
    {"glClearColor", CallCode::glClearColor, "ffff"},
    {"glClear", CallCode::glClear, "i"},
    {"glMatrixMode", CallCode::glMatrixMode, "i"},
    {"glLoadIdentity", CallCode::glLoadIdentity, ""},
    // Doubles that the program computes as floats: kept as floats, exactly.
    {"glFrustum", CallCode::glFrustum, "ffffff"},
    {"glOrtho", CallCode::glOrtho, "ffffff"},
    {"glTranslatef", CallCode::glTranslatef, "fff"},
    {"glRotatef", CallCode::glRotatef, "ffff"},
    {"glViewport", CallCode::glViewport, "iiii"},
    {"glBlendFunc", CallCode::glBlendFunc, "ii"},
    {"glFinish", CallCode::glFinish, ""},
    {"glRasterPos2f", CallCode::glRasterPos2f, "ff"},
    {"glListBase", CallCode::glListBase, "i"},
    {"glCallLists", CallCode::glCallLists, "ii"},
    {"wglMakeCurrent", CallCode::wglMakeCurrent, "--"},
    {"SwapBuffers", CallCode::SwapBuffers, "-"},
};

// How long after the first frame the later recorded frame is drawn: both
// plants show, the first at this age and the second 1.5 s younger.
inline constexpr uint32_t kLaterFrameAfterFirstMs = 2000;

// Calls of a frame that the replay leaves out: it holds the device context
// and needs no clock.
inline constexpr std::string_view kUnreplayedCalls[] = {"GetTickCount", "GetDC", "ReleaseDC"};

// Where a replay draws: what stands for the frame's wglMakeCurrent and
// SwapBuffers, and the first display list of the font it draws text with.
class ReplayTarget {
public:
    virtual ~ReplayTarget() = default;
    virtual void makeCurrent() = 0;
    virtual void present() = 0;
    virtual GLint listBase() const = 0;
};

class RecordedFrame {
public:
    RecordedFrame() = default;
    // The calls of `calls` but those of kUnreplayedCalls. None, naming the
    // first call it cannot keep in `error`, if one is a call the replay does
    // not know, or has an argument that its word would not hold exactly.
    RecordedFrame(const Calls& calls, std::string& error);

    // Reads a file of recorded calls; false, leaving no calls and saying
    // why in `error`, when it cannot be read or holds a call it cannot keep.
    bool load(const char* path, std::string& error);

    // Issues the calls in order on `target`, with its font's lists wherever
    // the recording selected its font's lists.
    void replay(ReplayTarget& target) const;

    bool empty() const { return words_.empty(); }

private:
    std::vector<uint32_t> words_;
};
