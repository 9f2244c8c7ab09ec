#include "bench/win32_replay_target.h"

#include <cstdio>
#include <string>

#include "app/frame.h"
#include "bench/frame_encoding.h"
#include "tests/doubles/program_window.h"
#include "tests/unit/app_fixture.h"

namespace {

// A frame of the program with both plants drawn, as the recording doubles log it.
class RecordedFrames : public ShellTest {
protected:
    RecordedFrames() {
        use(makeProgramWindow(1000));
        renderFrame(hwnd);
        fake::backend().now = 3000;
        log.calls.clear();
        renderFrame(hwnd);
        frame = log.calls;
        log.calls.clear();
    }

    std::vector<uint32_t> encoded(const Calls& calls) {
        std::vector<uint32_t> words;
        std::string error;
        EXPECT_TRUE(encodeCalls(calls, words, error)) << error;
        return words;
    }

    Calls frame;
};

TEST_F(RecordedFrames, ReplayMakesTheFramesCallsOnTheLiveHandlesAndFont) {
    const RecordedFrame recorded(encoded(frame));
    ASSERT_FALSE(recorded.empty());
    const HDC liveContext = fakeHandle<HDC>(0x2222);
    const HGLRC liveRender = fakeHandle<HGLRC>(0x3333);
    Win32ReplayTarget target(liveContext, liveRender, 4000);
    recorded.replay(target);

    Calls expected;
    for (const Call& c : frame) {
        if (c.name == "GetTickCount" || c.name == "GetDC" || c.name == "ReleaseDC") continue;
        if (c.name == "glListBase")
            expected.push_back(call("glListBase", {4000}));
        else if (c.name == "wglMakeCurrent")
            expected.push_back(call("wglMakeCurrent", {logged(liveContext), logged(liveRender)}));
        else if (c.name == "SwapBuffers")
            expected.push_back(call("SwapBuffers", {logged(liveContext)}));
        else
            expected.push_back(c);
    }
    ASSERT_EQ(log.calls.size(), expected.size());
    EXPECT_TRUE(log.calls == expected);
    EXPECT_GT(log.count("glVertex3f"), 10000u);  // both plants
    EXPECT_EQ(log.named("glCallLists").at(0).bytes, "FPS 0");
}

TEST_F(RecordedFrames, FileRoundTrip) {
    const std::vector<uint32_t> words = encoded(frame);
    const std::string path = testing::TempDir() + "frame_calls_test.calls";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    std::fwrite(words.data(), sizeof words[0], words.size(), file);
    std::fclose(file);
    RecordedFrame loaded;
    ASSERT_TRUE(loaded.load(path.c_str()));
    Win32ReplayTarget target(deviceContextOf(hwnd), glContext.renderContext, font.listBase);
    loaded.replay(target);
    EXPECT_EQ(log.count("glVertex3f"), only(frame, {"glVertex3f"}).size());

    // A file cut inside a word, or inside a call, holds no calls.
    file = std::fopen(path.c_str(), "wb");
    std::fwrite(words.data(), 1, 4 * words.size() - 2, file);
    std::fclose(file);
    EXPECT_FALSE(loaded.load(path.c_str()));
    EXPECT_TRUE(loaded.empty());
    ASSERT_EQ(words[0], static_cast<uint32_t>(CallCode::wglMakeCurrent));
    ASSERT_EQ(words[1], static_cast<uint32_t>(CallCode::glViewport));
    file = std::fopen(path.c_str(), "wb");
    std::fwrite(words.data(), sizeof words[0], 2, file);  // glViewport without its arguments
    std::fclose(file);
    EXPECT_FALSE(loaded.load(path.c_str()));
    EXPECT_FALSE(loaded.load((path + ".missing").c_str()));
    std::remove(path.c_str());
}

TEST(FrameCalls, WordsThatAreNoWholeCallsAreRefused) {
    const auto code = [](CallCode c) { return static_cast<uint32_t>(c); };
    EXPECT_TRUE(RecordedFrame({code(CallCode::glVertex3f), 0, 0}).empty());
    EXPECT_TRUE(RecordedFrame({code(CallCode::SwapBuffers) + 1}).empty());
    EXPECT_TRUE(RecordedFrame({code(CallCode::glCallLists), 5, GL_UNSIGNED_BYTE, 0}).empty());
    EXPECT_TRUE(
        RecordedFrame({code(CallCode::glCallLists), uint32_t(-4), GL_UNSIGNED_BYTE}).empty());
    EXPECT_TRUE(RecordedFrame({code(CallCode::glCallLists)}).empty());
    EXPECT_FALSE(RecordedFrame({code(CallCode::glCallLists), 5, GL_UNSIGNED_BYTE, 0, 0,
                                code(CallCode::glEnd)})
                     .empty());
}

TEST(FrameCalls, EncodingRefusesWhatItCannotReplayExactly) {
    std::vector<uint32_t> words;
    std::string error;
    EXPECT_FALSE(encodeCalls({call("glBitmap", {0, 0, 0, 0, 1, 0, 0})}, words, error));
    EXPECT_EQ(error, "glBitmap(0, 0, 0, 0, 1, 0, 0)");
    EXPECT_FALSE(encodeCalls({call("glFrustum", {0.1, 1, 1, 1, 1, 1})}, words, error));
    EXPECT_FALSE(encodeCalls({call("glViewport", {0.5, 0, 1, 1})}, words, error));
    EXPECT_FALSE(encodeCalls({call("glVertex3f", {1, 2})}, words, error));
    EXPECT_FALSE(encodeCalls({call("glCallLists", {3, GL_UNSIGNED_BYTE}, "ab")}, words, error));
    words.clear();
    EXPECT_TRUE(encodeCalls({call("GetTickCount"), call("glFrustum", {0.5, 1, -1, 1, 2, 1e3}),
                             call("glCallLists", {2, GL_UNSIGNED_BYTE}, "ab")},
                            words, error));
    EXPECT_EQ(words.size(), 1 + 6 + 1 + 2 + 1u);
}

}  // namespace
