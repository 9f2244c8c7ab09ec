// Sends any sequence of window messages, with any wParam and lParam, to the
// window procedure on the recording OpenGL and Win32: before WM_CREATE, after
// it, and with the rendering context failing at any of its steps. Checks that
// handled messages return 0 and the rest go to DefWindowProcA, that every
// WM_PAINT makes exactly one frame and nothing else makes one, that pitch
// stays within [-90, 90], and that the frame counter never goes negative.
#include <fuzzer/FuzzedDataProvider.h>

#include <iterator>
#include <utility>

#include "app/exit_code.h"
#include "app/globals.h"
#include "app/window_procedure.h"
#include "fuzz/invariant.h"
#include "scene/drag.h"
#include "scene/scene.h"
#include "tests/doubles/call_log.h"
#include "tests/doubles/fake_backend.h"
#include "tests/doubles/program_start.h"
#include "tests/doubles/test_win32.h"

namespace {

constexpr int kMaxMessages = 48;
constexpr UINT kHandled[] = {WM_CREATE,    WM_SIZE,        WM_PAINT,    WM_CLOSE,
                             WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP};

// Where creating the rendering context fails, if anywhere.
enum class ContextFailure {
    None,
    DeviceContext,
    PixelFormat,
    RenderContext,
    kMaxValue = RenderContext
};

// A new process's Win32, failing as asked; the window the messages go to.
HWND windowFailing(ContextFailure failure) {
    resetWin32();
    switch (failure) {
        case ContextFailure::DeviceContext: return fakeHandle<HWND>(0x1000);  // not a window
        case ContextFailure::PixelFormat:  // none double-buffered
            fake::backend().formats.resize(6);
            break;
        case ContextFailure::RenderContext: fake::backend().refuseContexts = true; break;
        default: break;
    }
    return bareWindow();
}

bool isHandled(UINT message) {
    for (UINT handled : kHandled) {
        if (message == handled) return true;
    }
    return false;
}

void checkCounter() {
    require(frameCounter.frameCount >= 0 && frameCounter.framesPerSecond >= 0,
            "the frame counter is never negative");
}

void checkPitch() {
    const float pitch = currentScene->camera.angles.pitch;
    require(pitch >= -90.0f && pitch <= 90.0f, "pitch stays within [-90, 90]");
}

// One frame: one pass of the scene, counted once, finished and presented.
void checkFrame(const CallLog& log, const FrameRateCounter& before) {
    require(
        log.count("GetTickCount") == 1 && log.count("glClear") == 1 && log.count("glFinish") == 1,
        "a paint makes exactly one frame");
    require(log.count("SwapBuffers") == (glContext.doubleBuffered ? 1u : 0u),
            "a frame is presented once when double-buffered");
    const bool counted = frameCounter.frameCount == before.frameCount + 1 &&
                         frameCounter.framesPerSecond == before.framesPerSecond &&
                         frameCounter.mark == before.mark;
    const bool closed =
        frameCounter.frameCount == 0 && frameCounter.framesPerSecond == before.frameCount;
    require(counted || closed, "a paint counts one frame or closes the second");
}

void checkNoFrame(const CallLog& log, const FrameRateCounter& before) {
    require(log.count("glFinish") == 0 && log.count("SwapBuffers") == 0,
            "only a paint makes a frame");
    require(frameCounter.frameCount == before.frameCount &&
                frameCounter.framesPerSecond == before.framesPerSecond &&
                frameCounter.mark == before.mark,
            "only a paint counts a frame");
}

void checkCreation(ContextFailure failure) {
    const bool failed = failure != ContextFailure::None;
    const std::vector<std::string> texts = messageBoxTexts();
    require(texts.size() == (failed ? 1u : 0u),
            "one message box when the context fails, none otherwise");
    if (!failed) return;
    require(texts[0] == "OpenGL context init failed", "the message box's text");
    require(postedQuitCode() == WPARAM{kExitFailure}, "a failed context ends the program");
}

// DefWindowProcA's result is 0 for every message it gets here.
void checkResult(UINT message, LRESULT result, const CallLog& log) {
    if (isHandled(message)) {
        require(result == 0 && log.count("DefWindowProcA") == 0,
                "a handled message returns 0 and is not passed on");
    } else {
        require(result == 0 && log.calls.size() == 1 && log.calls[0].name == "DefWindowProcA",
                "any other message goes to DefWindowProcA alone, with its result");
    }
}

void checkMessage(UINT message, LPARAM lParam) {
    const int x = static_cast<int>(lParam & 0xFFFF);
    const int y = static_cast<int>((lParam >> 16) & 0xFFFF);
    switch (message) {
        case WM_SIZE:
            require(clientWidth == x && clientHeight == y, "a size is the two halves of lParam");
            break;
        case WM_CLOSE:
            require(postedQuitCode() == WPARAM{kExitSuccess}, "a close ends the program with 0");
            break;
        case WM_LBUTTONDOWN:
            require(dragState.active, "a left press starts or keeps a drag");
            break;
        case WM_LBUTTONUP: require(!dragState.active, "a left release ends the drag"); break;
        default: break;
    }
    require(dragState.startX >= 0 && dragState.startX <= 0xFFFF && dragState.startY >= 0 &&
                dragState.startY <= 0xFFFF,
            "pointer coordinates are never negative");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    restoreProgramStart();
    FuzzedDataProvider data(bytes, size);
    const auto failure = data.ConsumeEnum<ContextFailure>();
    const HWND window = windowFailing(failure);

    bool created = false;
    for (int i = 0; i < kMaxMessages && data.remaining_bytes() > 0; ++i) {
        const UINT message =
            data.ConsumeBool()
                ? kHandled[data.ConsumeIntegralInRange<size_t>(0, std::size(kHandled) - 1)]
                : data.ConsumeIntegral<UINT>();
        const auto wParam = data.ConsumeIntegral<WPARAM>();
        const auto lParam = data.ConsumeIntegral<LPARAM>();
        fake::backend().now = data.ConsumeIntegral<DWORD>();
        // Windows creates a window once.
        if (message == WM_CREATE && std::exchange(created, true)) continue;

        CallLog log;
        const FrameRateCounter before = frameCounter;
        const LRESULT result = windowProcedure(window, message, wParam, lParam);
        checkResult(message, result, log);
        if (message == WM_PAINT) {
            checkFrame(log, before);
        } else {
            checkNoFrame(log, before);
        }
        if (message == WM_CREATE) checkCreation(failure);
        checkMessage(message, lParam);
        checkPitch();
        checkCounter();
    }
    restoreProgramStart();  // frees the font's widths, which the program never frees
    return 0;
}
