#include "tests/doubles/recording_gl.h"

#include <algorithm>

namespace {

RecordingGl* recorder = nullptr;

// Appends a call named `name` with the numbers it is then applied to:
// logTo("glBegin")(mode).
struct logTo {
    std::string_view name;
    template <typename... Args>
    void operator()(Args... args) const {
        if (recorder) recorder->calls.push_back({name, {static_cast<double>(args)...}, {}});
    }
};

}  // namespace

GlCall glCall(std::string_view name, std::vector<double> args, std::string bytes) {
    return {name, std::move(args), std::move(bytes)};
}

std::ostream& operator<<(std::ostream& out, const GlCall& call) {
    out << call.name << '(';
    for (size_t i = 0; i < call.args.size(); ++i) out << (i ? ", " : "") << call.args[i];
    if (!call.bytes.empty()) out << (call.args.empty() ? "\"" : ", \"") << call.bytes << '"';
    return out << ')';
}

RecordingGl::RecordingGl() {
    recorder = this;
}
RecordingGl::~RecordingGl() {
    recorder = nullptr;
}

size_t RecordingGl::count(std::string_view name) const {
    return std::count_if(calls.begin(), calls.end(),
                         [&](const GlCall& c) { return c.name == name; });
}

GlCalls RecordingGl::named(std::string_view name) const {
    GlCalls found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const GlCall& c) { return c.name == name; });
    return found;
}

GlCalls RecordingGl::slice(size_t first, size_t last) const {
    last = std::min(last, calls.size());
    first = std::min(first, last);
    return GlCalls(calls.begin() + first, calls.begin() + last);
}

#define QUENN_GL(name, parameters, arguments) \
    void GLAPIENTRY name parameters {         \
        logTo{#name} arguments;               \
    }
#include "tests/doubles/gl_functions.inc"
#undef QUENN_GL

void GLAPIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    if (!recorder) return;
    std::string bytes;
    if (type == GL_UNSIGNED_BYTE && lists && n > 0)
        bytes.assign(static_cast<const char*>(lists), n);
    recorder->calls.push_back({"glCallLists", {double(n), double(type)}, std::move(bytes)});
}

GLuint GLAPIENTRY glGenLists(GLsizei range) {
    if (!recorder) return 0;
    logTo{"glGenLists"}(range);
    return recorder->genListsResult;
}

void GLAPIENTRY glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                         GLfloat ymove, const GLubyte* bitmap) {
    logTo{"glBitmap"}(width, height, xorig, yorig, xmove, ymove, bitmap ? 1 : 0);
}
