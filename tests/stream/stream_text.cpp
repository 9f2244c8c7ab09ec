#include "tests/stream/stream_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

// A number as appendNumber writes it, space first, taken off `rest`.
bool readNumber(std::string_view& rest, double& value) {
    if (!rest.starts_with(' ')) return false;
    const std::string token(rest.substr(1, rest.find(' ', 1) - 1));
    char* end = nullptr;
    value = std::strtod(token.c_str(), &end);
    if (token.empty() || end != token.c_str() + token.size()) return false;
    rest.remove_prefix(1 + token.size());
    return true;
}

int hexDigit(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    return digit >= 'A' && digit <= 'F' ? digit - 'A' + 10 : -1;
}

// Bytes as appendQuoted writes them, taken off `rest`.
bool readQuoted(std::string_view& rest, std::string& bytes) {
    if (!rest.starts_with(" \"")) return false;
    rest.remove_prefix(2);
    while (!rest.empty() && rest[0] != '"') {
        if (rest[0] != '\\') {
            bytes += rest[0];
            rest.remove_prefix(1);
            continue;
        }
        const int high = rest.size() >= 4 && rest[1] == 'x' ? hexDigit(rest[2]) : -1;
        const int low = high >= 0 ? hexDigit(rest[3]) : -1;
        if (low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
        rest.remove_prefix(4);
    }
    if (rest.empty()) return false;
    rest.remove_prefix(1);
    return true;
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool readLine(std::string_view line, Call& call) {
    const size_t nameEnd = std::min(line.find(' '), line.size());
    call.name = line.substr(0, nameEnd);
    if (call.name.empty() || !std::all_of(call.name.begin(), call.name.end(), isNameCharacter))
        return false;
    std::string_view rest = line.substr(nameEnd);
    double value;
    while (!rest.empty() && !rest.starts_with(" \"") && !rest.starts_with(" =")) {
        if (!readNumber(rest, value)) return false;
        call.args.push_back(value);
    }
    if (rest.starts_with(" =")) {
        rest.remove_prefix(2);
        if (!readNumber(rest, value)) return false;
    }
    return rest.empty() || (readQuoted(rest, call.bytes) && rest.empty());
}

// Appends the line of `call` to `out`; `firstList` is what glGenLists gave.
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

}  // namespace

std::string streamText(const Calls& calls, uint32_t firstList) {
    std::string text;
    for (const Call& call : calls) appendStreamLine(text, call, firstList);
    return text;
}

bool readStreamText(std::string_view text, Calls& calls, std::string& error) {
    for (size_t number = 1; !text.empty(); ++number) {
        const size_t end = text.find('\n');
        Call call;
        if (end == std::string_view::npos || !readLine(text.substr(0, end), call)) {
            error = "line " + std::to_string(number) + ": " + std::string(text.substr(0, end));
            return false;
        }
        calls.push_back(std::move(call));
        text.remove_prefix(end + 1);
    }
    return true;
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
