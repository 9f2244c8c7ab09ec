#pragma once

// A frame's OpenGL calls, recorded once by record_frames and replayed from
// memory through the system's OpenGL: what the frame costs with nothing
// else to do.
//
// The calls are kept as 32-bit words, in the machine's byte order: for each
// call its CallCode, then its arguments, one word each (a float's bits or an
// integer), as its signature in kCallSignatures says; glCallLists is followed by
// its text, four bytes a word. A file of them is those words and nothing else.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/opengl.h"

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

// The signature of `code`, or nullptr for a word that is no CallCode.
const CallSignature* signatureOf(uint32_t code);

// How many words follow the code of the call whose code is at `words[0]`,
// within `available` words after it; -1 when the words are no call.
int64_t argumentWords(const uint32_t* words, size_t available);

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
    // Calls as encodeCalls writes them; empty unless they are all whole calls.
    explicit RecordedFrame(std::vector<uint32_t> words);

    // Reads a file of recorded calls; false, leaving no calls, when it
    // cannot be read or holds anything but whole calls.
    bool load(const char* path);

    // Issues the calls in order on `target`, with its font's lists wherever
    // the recording selected its font's lists.
    void replay(ReplayTarget& target) const;

    bool empty() const { return words_.empty(); }

private:
    std::vector<uint32_t> words_;
};
