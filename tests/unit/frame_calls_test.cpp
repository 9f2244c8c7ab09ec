#include "bench/win32_replay_target.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "app/frame.h"
#include "tests/doubles/program_window.h"
#include "tests/stream/stream_text.h"
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

    // Writes `text` to a file of the test's; its path.
    static std::string written(const std::string& text) {
        const std::string path = testing::TempDir() + "frame_calls_test.calls";
        EXPECT_TRUE(std::ofstream(path, std::ios::binary) << text);
        return path;
    }

    Calls frame;
};

TEST_F(RecordedFrames, ReplayMakesTheFramesCallsOnTheLiveHandlesAndFont) {
    std::string error;
    const RecordedFrame recorded(frame, error);
    ASSERT_FALSE(recorded.empty()) << error;
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
    const std::string text = streamText(frame, 1000);
    RecordedFrame loaded;
    std::string error;
    ASSERT_TRUE(loaded.load(written(text).c_str(), error)) << error;
    Win32ReplayTarget target(deviceContextOf(hwnd), glContext.renderContext, font.listBase);
    loaded.replay(target);
    EXPECT_EQ(log.count("glVertex3f"), only(frame, {"glVertex3f"}).size());

    // A file cut inside a line, a call short of an argument, or none at all
    // holds no calls.
    for (const std::string& bad :
         {text.substr(0, text.size() - 2), std::string("glViewport 0 0\n"), std::string()}) {
        const std::string path = written(bad);
        error.clear();
        EXPECT_FALSE(loaded.load(path.c_str(), error)) << bad;
        EXPECT_TRUE(loaded.empty());
        EXPECT_FALSE(error.empty());
    }
    const std::string missing = written("") + ".missing";
    EXPECT_FALSE(loaded.load(missing.c_str(), error));
    EXPECT_EQ(error, "cannot read " + missing);
    std::remove(written("").c_str());
}

TEST(FrameCalls, RefusesWhatItCannotReplayExactly) {
    const auto refusal = [](const Calls& calls) {
        std::string error;
        return RecordedFrame(calls, error).empty() ? error : std::string("kept");
    };
    EXPECT_EQ(refusal({call("glEnd"), call("glBitmap", {0, 0, 0, 0, 1, 0, 0})}),
              "call 2, glBitmap");
    EXPECT_EQ(refusal({call("glFrustum", {0.1, 1, 1, 1, 1, 1})}), "call 1, glFrustum");
    EXPECT_EQ(refusal({call("glViewport", {0.5, 0, 1, 1})}), "call 1, glViewport");
    EXPECT_EQ(refusal({call("glVertex3f", {1, 2})}), "call 1, glVertex3f");
    EXPECT_EQ(refusal({call("glCallLists", {3, GL_UNSIGNED_BYTE}, "ab")}), "call 1, glCallLists");
    EXPECT_EQ(refusal({call("GetTickCount"), call("glFrustum", {0.5, 1, -1, 1, 2, 1e3}),
                       call("glCallLists", {2, GL_UNSIGNED_BYTE}, "ab")}),
              "kept");
}

}  // namespace
