#include "tests/stream/stream_text.h"

#include <cstdio>

namespace {

bool isOpenGl(const Call& call) {
    return call.name.size() > 2 && call.name.starts_with("gl") && call.name[2] >= 'A' &&
           call.name[2] <= 'Z';
}

// The recording OpenGL logs glBitmap's bitmap as a last argument, 1 when
// given: a pointer, which the text leaves out.
size_t shownArguments(const Call& call) {
    return call.name == "glBitmap" && !call.args.empty() ? call.args.size() - 1 : call.args.size();
}

void appendNumber(std::string& out, double value) {
    char text[32];
    std::snprintf(text, sizeof text, " %.17g", value);
    out += text;
}

void appendQuoted(std::string& out, const std::string& bytes) {
    out += " \"";
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 || code > 0x7E || byte == '"' || byte == '\\') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", code);
            out += escape;
        } else {
            out += byte;
        }
    }
    out += '"';
}

}  // namespace

void appendStreamLine(std::string& out, const Call& call, uint32_t firstList) {
    out += call.name;
    for (size_t i = 0; i < shownArguments(call); ++i) appendNumber(out, call.args[i]);
    if (call.name == "glGenLists") {
        out += " =";
        appendNumber(out, firstList);
    }
    if (!call.bytes.empty()) appendQuoted(out, call.bytes);
    out += '\n';
}

std::string streamText(const Calls& calls, uint32_t firstList) {
    std::string text;
    for (const Call& call : calls) appendStreamLine(text, call, firstList);
    return text;
}

std::vector<Calls> openGlFrames(const Calls& calls) {
    std::vector<Calls> frames;
    Calls frame;
    for (const Call& call : calls) {
        if (call.name == "SwapBuffers") {
            frames.push_back(std::move(frame));
            frame.clear();
        } else if (isOpenGl(call)) {
            frame.push_back(call);
        }
    }
    return frames;
}
