#include "bench/frame_calls.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>

#include "tests/stream/stream_text.h"

namespace {

// How many words follow each CallCode: its arguments but the handles.
constexpr auto kArgumentWords = [] {
    std::array<size_t, std::size(kCallSignatures)> words{};
    for (const CallSignature& signature : kCallSignatures)
        words[static_cast<size_t>(signature.code)] =
            signature.arguments.size() - std::ranges::count(signature.arguments, '-');
    return words;
}();

const CallSignature* signatureNamed(std::string_view name) {
    for (const CallSignature& signature : kCallSignatures)
        if (signature.name == name) return &signature;
    return nullptr;
}

// One argument as its word; false when the word would change its value.
bool encodeArgument(char kind, double value, uint32_t& word) {
    if (kind == 'f') {
        const auto narrowed = static_cast<float>(value);
        word = std::bit_cast<uint32_t>(narrowed);
        return narrowed == value;
    }
    // Enums and bit masks are recorded unsigned, coordinates signed.
    if (value < INT32_MIN || value > UINT32_MAX || value != static_cast<double>(int64_t(value)))
        return false;
    word = static_cast<uint32_t>(static_cast<int64_t>(value));
    return true;
}

bool encodeCall(const Call& call, std::vector<uint32_t>& words) {
    const CallSignature* signature = signatureNamed(call.name);
    if (!signature || call.args.size() != signature->arguments.size()) return false;
    words.push_back(static_cast<uint32_t>(signature->code));
    for (size_t i = 0; i < call.args.size(); ++i) {
        if (signature->arguments[i] == '-') continue;
        uint32_t word;
        if (!encodeArgument(signature->arguments[i], call.args[i], word)) return false;
        words.push_back(word);
    }
    if (signature->code == CallCode::glCallLists) {
        if (call.args[1] != GL_UNSIGNED_BYTE || call.bytes.size() != call.args[0]) return false;
        std::vector<uint32_t> text((call.bytes.size() + 3) / 4, 0);
        if (!text.empty()) std::memcpy(text.data(), call.bytes.data(), call.bytes.size());
        words.insert(words.end(), text.begin(), text.end());
    }
    return true;
}

bool readFile(const char* path, std::string& text) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    char buffer[1 << 16];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
    const bool whole = !std::ferror(file);
    std::fclose(file);
    return whole;
}

float real(uint32_t word) {
    return std::bit_cast<float>(word);
}

GLint integer(uint32_t word) {
    return static_cast<GLint>(word);
}

}  // namespace

RecordedFrame::RecordedFrame(const Calls& calls, std::string& error) {
    for (size_t i = 0; i < calls.size(); ++i) {
        const Call& call = calls[i];
        if (std::ranges::find(kUnreplayedCalls, call.name) != std::end(kUnreplayedCalls)) continue;
        if (!encodeCall(call, words_)) {
            error = "call " + std::to_string(i + 1) + ", " + std::string(call.name);
            words_.clear();
            return;
        }
    }
}

bool RecordedFrame::load(const char* path, std::string& error) {
    words_.clear();
    std::string text;
    Calls calls;
    if (!readFile(path, text)) {
        error = "cannot read " + std::string(path);
        return false;
    }
    if (!readStreamText(text, calls, error)) return false;
    *this = RecordedFrame(calls, error);
    if (empty() && error.empty()) error = "no calls";
    return !empty();
}

void RecordedFrame::replay(ReplayTarget& target) const {
    const GLint listBase = target.listBase();
    const uint32_t* w = words_.data();
    const uint32_t* const end = w + words_.size();
    while (w < end) {
        const auto code = static_cast<CallCode>(*w++);
        const uint32_t* const a = w;
        w += kArgumentWords[static_cast<size_t>(code)];
        switch (code) {
            case CallCode::glBegin: glBegin(integer(a[0])); break;
            case CallCode::glEnd: glEnd(); break;
            case CallCode::glVertex3f: glVertex3f(real(a[0]), real(a[1]), real(a[2])); break;
            case CallCode::glColor3f: glColor3f(real(a[0]), real(a[1]), real(a[2])); break;
            case CallCode::glColor4f:
                glColor4f(real(a[0]), real(a[1]), real(a[2]), real(a[3]));
                break;
            case CallCode::glLineWidth: glLineWidth(real(a[0])); break;
            case CallCode::glEnable: glEnable(integer(a[0])); break;
            case CallCode::glDisable: glDisable(integer(a[0])); break;
            case CallCode::glPolygonMode: glPolygonMode(integer(a[0]), integer(a[1])); break;
            case CallCode::glClearColor:
                glClearColor(real(a[0]), real(a[1]), real(a[2]), real(a[3]));
                break;
            case CallCode::glClear: glClear(integer(a[0])); break;
            case CallCode::glMatrixMode: glMatrixMode(integer(a[0])); break;
            case CallCode::glLoadIdentity: glLoadIdentity(); break;
            case CallCode::glFrustum:
                glFrustum(real(a[0]), real(a[1]), real(a[2]), real(a[3]), real(a[4]), real(a[5]));
                break;
            case CallCode::glOrtho:
                glOrtho(real(a[0]), real(a[1]), real(a[2]), real(a[3]), real(a[4]), real(a[5]));
                break;
            case CallCode::glTranslatef: glTranslatef(real(a[0]), real(a[1]), real(a[2])); break;
            case CallCode::glRotatef:
                glRotatef(real(a[0]), real(a[1]), real(a[2]), real(a[3]));
                break;
            case CallCode::glViewport:
                glViewport(integer(a[0]), integer(a[1]), integer(a[2]), integer(a[3]));
                break;
            case CallCode::glBlendFunc: glBlendFunc(integer(a[0]), integer(a[1])); break;
            case CallCode::glFinish: glFinish(); break;
            case CallCode::glRasterPos2f: glRasterPos2f(real(a[0]), real(a[1])); break;
            case CallCode::glListBase: glListBase(listBase); break;
            case CallCode::glCallLists:
                // The text follows the arguments.
                glCallLists(integer(a[0]), integer(a[1]), w);
                w += (integer(a[0]) + 3) / 4;
                break;
            case CallCode::wglMakeCurrent: target.makeCurrent(); break;
            case CallCode::SwapBuffers: target.present(); break;
        }
    }
}
