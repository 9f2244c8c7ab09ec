#include "tests/stream/stream_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(StreamText, NumbersAreExactAsDoubles) {
    const float seventh = 1.0f / 7.0f;
    const std::string line = streamText({call("glColor3f", {seventh, 0.7f, -1e-7f})}, 0);
    ASSERT_EQ(line.rfind("glColor3f ", 0), 0u) << line;
    const char* at = line.c_str() + 10;
    for (const float expected : {seventh, 0.7f, -1e-7f}) {
        char* end = nullptr;
        EXPECT_EQ(std::strtod(at, &end), static_cast<double>(expected)) << line;
        at = end;
    }
    EXPECT_STREQ(at, "\n");
    EXPECT_EQ(streamText({call("glViewport", {0, 0, 256, 256}), call("glEnd")}, 0),
              "glViewport 0 0 256 256\nglEnd\n");
}

TEST(StreamText, GenListsShowsTheFirstListGiven) {
    EXPECT_EQ(streamText({call("glGenLists", {96})}, 1000), "glGenLists 96 = 1000\n");
}

TEST(StreamText, TextIsQuotedWithEscapesForWhatIsNotPlainAscii) {
    EXPECT_EQ(streamText({call("glCallLists", {7, 5121}, "F\"S\\\n\xE9")}, 0),
              "glCallLists 7 5121 \"F\\x22S\\x5C\\x0A\\xE9\"\n");
    EXPECT_EQ(streamText({call("glCallLists", {5, 5126})}, 0), "glCallLists 5 5126\n");
}

TEST(StreamText, BitmapLeavesOutWhetherABitmapWasGiven) {
    EXPECT_EQ(streamText({call("glBitmap", {0, 0, 0, 0, -12.5, 0, 1})}, 0),
              "glBitmap 0 0 0 0 -12.5 0\n");
}

TEST(StreamText, ReadsBackWhatItWrites) {
    const Calls calls = {call("glColor3f", {1.0f / 7.0f, 0.7f, -1e-7f}), call("glEnd"),
                         call("glCallLists", {7, 5121}, "F\"S\\\n\xE9"), call("GetDC", {4096})};
    const std::string text = streamText(calls, 0) + "glGenLists 96 = 1000\n";
    Calls read;
    std::string error;
    ASSERT_TRUE(readStreamText(text, read, error)) << error;
    EXPECT_EQ(read, calls + Calls{call("glGenLists", {96})});
}

TEST(StreamText, ReadingRefusesLinesItDoesNotWrite) {
    for (const char* line :
         {"glEnd", "glEnd \n", "\n", "gl End\n", "glVertex3f 1 x 0\n", "glGenLists 96 =\n",
          "glCallLists 1 5121 \"a\n", "glCallLists 1 5121 \"\\xG1\"\n", "glEnd \"a\" 1\n"}) {
        const std::string text = std::string("glEnd\n") + line;  // the names view it
        Calls read;
        std::string error;
        EXPECT_FALSE(readStreamText(text, read, error)) << line;
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
        EXPECT_EQ(read, Calls{call("glEnd")});
    }
}

TEST(OpenGlFrames, EachFrameItsOpenGlCallsUpToItsSwap) {
    const Calls calls = {call("glGenLists", {96}),
                         call("GetDC", {4096}),
                         call("glFinish"),
                         call("SwapBuffers", {8192}),
                         call("wglMakeCurrent", {}),
                         call("glClear", {16384}),
                         call("SwapBuffers", {8192}),
                         call("glEnd")};
    const std::vector<Calls> frames = openGlFrames(calls);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], (Calls{call("glGenLists", {96}), call("glFinish")}));
    EXPECT_EQ(frames[1], (Calls{call("glClear", {16384})}));
}

}  // namespace
