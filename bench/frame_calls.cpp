#include "bench/frame_calls.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace {

float real(uint32_t word) {
    return std::bit_cast<float>(word);
}

GLint integer(uint32_t word) {
    return static_cast<GLint>(word);
}

}  // namespace

const CallSignature* signatureOf(uint32_t code) {
    for (const CallSignature& signature : kCallSignatures)
        if (static_cast<uint32_t>(signature.code) == code) return &signature;
    return nullptr;
}

int64_t argumentWords(const uint32_t* words, size_t available) {
    const CallSignature* signature = signatureOf(words[0]);
    if (!signature) return -1;
    auto count =
        static_cast<int64_t>(std::count_if(signature->arguments.begin(), signature->arguments.end(),
                                           [](char kind) { return kind != '-'; }));
    if (signature->code == CallCode::glCallLists) {
        if (available < 1 || integer(words[1]) < 0) return -1;
        count += (int64_t{integer(words[1])} + 3) / 4;
    }
    return count <= static_cast<int64_t>(available) ? count : -1;
}

RecordedFrame::RecordedFrame(std::vector<uint32_t> words) {
    for (size_t at = 0; at < words.size();) {
        const int64_t count = argumentWords(&words[at], words.size() - at - 1);
        if (count < 0) return;
        at += 1 + static_cast<size_t>(count);
    }
    words_ = std::move(words);
}

bool RecordedFrame::load(const char* path) {
    words_.clear();
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::vector<char> bytes;
    char buffer[1 << 16];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    const bool whole = !std::ferror(file) && bytes.size() % sizeof(uint32_t) == 0;
    std::fclose(file);
    if (!whole) return false;
    std::vector<uint32_t> words(bytes.size() / sizeof(uint32_t));
    if (!words.empty()) std::memcpy(words.data(), bytes.data(), bytes.size());
    *this = RecordedFrame(std::move(words));
    return !words_.empty();
}

void RecordedFrame::replay(ReplayTarget& target) const {
    const GLint listBase = target.listBase();
    const uint32_t* w = words_.data();
    const uint32_t* const end = w + words_.size();
    while (w < end) {
        switch (static_cast<CallCode>(*w++)) {
            case CallCode::glBegin:
                glBegin(integer(w[0]));
                w += 1;
                break;
            case CallCode::glEnd: glEnd(); break;
            case CallCode::glVertex3f:
                glVertex3f(real(w[0]), real(w[1]), real(w[2]));
                w += 3;
                break;
            case CallCode::glColor3f:
                glColor3f(real(w[0]), real(w[1]), real(w[2]));
                w += 3;
                break;
            case CallCode::glColor4f:
                glColor4f(real(w[0]), real(w[1]), real(w[2]), real(w[3]));
                w += 4;
                break;
            case CallCode::glLineWidth:
                glLineWidth(real(w[0]));
                w += 1;
                break;
            case CallCode::glEnable:
                glEnable(integer(w[0]));
                w += 1;
                break;
            case CallCode::glDisable:
                glDisable(integer(w[0]));
                w += 1;
                break;
            case CallCode::glPolygonMode:
                glPolygonMode(integer(w[0]), integer(w[1]));
                w += 2;
                break;
            case CallCode::glClearColor:
                glClearColor(real(w[0]), real(w[1]), real(w[2]), real(w[3]));
                w += 4;
                break;
            case CallCode::glClear:
                glClear(integer(w[0]));
                w += 1;
                break;
            case CallCode::glMatrixMode:
                glMatrixMode(integer(w[0]));
                w += 1;
                break;
            case CallCode::glLoadIdentity: glLoadIdentity(); break;
            case CallCode::glFrustum:
                glFrustum(real(w[0]), real(w[1]), real(w[2]), real(w[3]), real(w[4]), real(w[5]));
                w += 6;
                break;
            case CallCode::glOrtho:
                glOrtho(real(w[0]), real(w[1]), real(w[2]), real(w[3]), real(w[4]), real(w[5]));
                w += 6;
                break;
            case CallCode::glTranslatef:
                glTranslatef(real(w[0]), real(w[1]), real(w[2]));
                w += 3;
                break;
            case CallCode::glRotatef:
                glRotatef(real(w[0]), real(w[1]), real(w[2]), real(w[3]));
                w += 4;
                break;
            case CallCode::glViewport:
                glViewport(integer(w[0]), integer(w[1]), integer(w[2]), integer(w[3]));
                w += 4;
                break;
            case CallCode::glBlendFunc:
                glBlendFunc(integer(w[0]), integer(w[1]));
                w += 2;
                break;
            case CallCode::glFinish: glFinish(); break;
            case CallCode::glRasterPos2f:
                glRasterPos2f(real(w[0]), real(w[1]));
                w += 2;
                break;
            case CallCode::glListBase:
                glListBase(listBase);
                w += 1;
                break;
            case CallCode::glCallLists: {
                const GLsizei length = integer(w[0]);
                glCallLists(length, integer(w[1]), w + 2);
                w += 2 + (length + 3) / 4;
                break;
            }
            case CallCode::wglMakeCurrent: target.makeCurrent(); break;
            case CallCode::SwapBuffers: target.present(); break;
        }
    }
}
