// The Win32 subset as the layers give it, over a fake backend: the window
// procedure's messages and their order, the queue, the handles' checks, the
// device context's state, and what is passed on to the backend.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/common/desktop.h"
#include "tests/doubles/fake_backend.h"
#include "tests/doubles/recording_procedure.h"

namespace {

class Win32Subset : public testing::Test {
protected:
    // A new process's Win32, with a class of the recording procedure, over a
    // backend of three formats: 1 single-buffered, 2 of 16 and 3 of 24 colour bits.
    void SetUp() override {
        desktop() = Desktop{};
        fake::backend() = fake::Backend{};
        fake::backend().formats = {fake::screenFormat(24, 0, 24), fake::screenFormat(16, 0, 24),
                                   fake::screenFormat(24, 0, 24)};
        fake::backend().formats[0].doubleBuffered = false;
        createResult = 0;
        sent.clear();
        ASSERT_NE(registerRecordingClass("Test"), 0);
    }

    HWND create(int x = CW_USEDEFAULT, int y = 0, const char* title = "title") {
        const HWND window = CreateWindowExA(0, "Test", title, WS_OVERLAPPEDWINDOW, x, y, 320, 200,
                                            nullptr, nullptr, nullptr, nullptr);
        sent.clear();
        return window;
    }

    // A window the queue paints: made, on the screen.
    HWND onScreen() {
        const HWND window = create();
        window->surface->state.onScreen = true;
        return window;
    }

    void post(HWND window, UINT message, LPARAM lParam) {
        fake::backend().input.push_back(fake::Posted{window->surface, {message, 0, lParam}});
    }

    // What GetMessageA hands out until it first paints, that paint included.
    std::vector<MSG> untilPaint() {
        std::vector<MSG> messages;
        MSG msg{};
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            messages.push_back(msg);
            if (msg.message == WM_PAINT) break;
        }
        return messages;
    }
};

// Each message's id, wParam and lParam.
using Arrival = std::array<LPARAM, 3>;
std::vector<Arrival> arrivals(const std::vector<MSG>& messages) {
    std::vector<Arrival> all;
    for (const MSG& msg : messages) all.push_back({msg.message, LPARAM(msg.wParam), msg.lParam});
    return all;
}

TEST(PackPoint, PutsXLowAndYHigh) {
    EXPECT_EQ(packPoint(0, 0), 0);
    EXPECT_EQ(packPoint(256, 256), 0x01000100);
    EXPECT_EQ(packPoint(0x1234, 0x5678), 0x56781234);
}

TEST(PackPoint, WrapsNegativeCoordinatesTo16BitsAsWindowsDoes) {
    EXPECT_EQ(packPoint(-1, 0), 0x0000FFFF);
    EXPECT_EQ(packPoint(0, -1), 0xFFFF0000);
    EXPECT_EQ(packPoint(-2, -3), 0xFFFDFFFE);
}

TEST(PackPoint, KeepsValuesUpTo65535AndWrapsLarger) {
    EXPECT_EQ(packPoint(32768, 40000), 0x9C408000);  // 40000 is 0x9C40
    EXPECT_EQ(packPoint(65535, 65535), 0xFFFFFFFF);
    EXPECT_EQ(packPoint(65536 + 5, 65536 + 0x1170), 0x11700005);
}

TEST(PackPoint, NeverSetsBitsAbove31) {
    EXPECT_GT(packPoint(-1, -1), 0);
    EXPECT_EQ(packPoint(-1, -1), 0xFFFFFFFF);
}

TEST_F(Win32Subset, TheTickCountIsTheBackendsMillisecondsModulo2To32) {
    fake::backend().now = 12'345;
    EXPECT_EQ(GetTickCount(), 12'345u);
    fake::backend().now = (uint64_t{1} << 32) + 704;
    EXPECT_EQ(GetTickCount(), 704u);
}

TEST_F(Win32Subset, CreationSendsWmCreateThenTheSurfacesClientSizeBeforeItReturns) {
    fake::backend().made = {300, 150, false, false};  // not what was asked: the system's
    const HWND window = CreateWindowExA(0, "test", "Vell", WS_OVERLAPPEDWINDOW, 10, 20, 320, 200,
                                        nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(arrivals(sent), (std::vector<Arrival>{{WM_CREATE, 0, 0},  // then SIZE_RESTORED:
                                                    {WM_SIZE, 0, packPoint(300, 150)}}));
    EXPECT_EQ(sent[0].hwnd, window);
    const SurfaceRequest& asked = fake::lastSurface().request;
    EXPECT_EQ(std::string(asked.title), "Vell");
    EXPECT_EQ(std::string(asked.className), "Test");  // the class's own spelling
    EXPECT_FALSE(asked.placedBySystem);
    EXPECT_EQ((std::array{asked.x, asked.y, asked.width, asked.height}),
              (std::array{10, 20, 320, 200}));
}

TEST_F(Win32Subset, ADefaultPositionIsTheSystemsAndANullTitleIsEmpty) {
    ASSERT_NE(create(CW_USEDEFAULT, 55, nullptr), nullptr);
    const SurfaceRequest& asked = fake::lastSurface().request;
    EXPECT_TRUE(asked.placedBySystem);
    EXPECT_EQ((std::array{asked.x, asked.y}), (std::array{0, 0}));
    EXPECT_EQ(std::string(asked.title), "");
}

TEST_F(Win32Subset, ARefusedCreationFreesTheSurfaceAndSendsNoSize) {
    createResult = -1;
    EXPECT_EQ(CreateWindowExA(0, "Test", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(idsOf(sent), std::vector<UINT>{WM_CREATE});
    EXPECT_TRUE(fake::lastSurface().destroyed);
    EXPECT_EQ(GetDC(fake::lastSurface().window), nullptr) << "the window is gone";
}

TEST_F(Win32Subset, NoSurfaceAnUnknownClassOrAParentMakeNoWindowAndNoMessage) {
    const size_t surfaces = fake::backend().surfaces.size();
    EXPECT_EQ(CreateWindowExA(0, "Nothing", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    const HWND parent = create();
    EXPECT_EQ(CreateWindowExA(0, "Test", "", 0, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(fake::backend().surfaces.size(), surfaces + 1);
    fake::backend().refuseSurfaces = true;
    EXPECT_EQ(create(), nullptr);
    EXPECT_TRUE(sent.empty());
}

TEST_F(Win32Subset, ShowWindowSaysWhetherItWasShownAndUpdateWindowPaintsAtOnce) {
    const HWND window = create();
    EXPECT_EQ(ShowWindow(window, SW_SHOW), FALSE);
    EXPECT_TRUE(fake::lastSurface().state.shown);
    EXPECT_EQ(ShowWindow(window, SW_SHOW), TRUE);
    EXPECT_EQ(ShowWindow(window, 0 /* SW_HIDE */), TRUE);
    EXPECT_FALSE(fake::lastSurface().state.shown);
    fake::lastSurface().canShow = false;  // destroyed by another client
    EXPECT_EQ(ShowWindow(window, SW_SHOW), FALSE);
    EXPECT_EQ(UpdateWindow(window), TRUE);
    EXPECT_EQ(idsOf(sent), std::vector<UINT>{WM_PAINT});
    int notAWindow = 0;
    EXPECT_EQ(UpdateWindow(reinterpret_cast<HWND>(&notAWindow)), FALSE);
    EXPECT_EQ(ShowWindow(nullptr, SW_SHOW), FALSE);
}

TEST_F(Win32Subset, TheQueueHandsOutWhatWasPostedInOrderThenPaints) {
    const HWND window = onScreen();
    post(window, WM_LBUTTONDOWN, packPoint(1, 2));
    post(window, WM_LBUTTONUP, packPoint(3, 4));
    fake::backend().now = 77;
    const std::vector<MSG> messages = untilPaint();
    ASSERT_EQ(arrivals(messages), (std::vector<Arrival>{{WM_LBUTTONDOWN, 0, packPoint(1, 2)},
                                                        {WM_LBUTTONUP, 0, packPoint(3, 4)},
                                                        {WM_PAINT, 0, 0}}));
    EXPECT_EQ(messages[2].hwnd, window);
    EXPECT_EQ(messages[2].time, 77u);
}

TEST_F(Win32Subset, AQuitRequestComesFirstAndOncePerRequest) {
    const HWND window = onScreen();
    postMessage(window, {WM_LBUTTONDOWN, 0, 0});
    PostQuitMessage(7);
    MSG msg{};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT(WM_LBUTTONDOWN));
}

TEST_F(Win32Subset, OnlyAWindowOnTheScreenIsPaintedAndWithoutOneTheQueueWaits) {
    const HWND hidden = create();
    const HWND shown = onScreen();
    MSG msg{};
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.hwnd, shown);
    EXPECT_EQ(msg.message, UINT(WM_PAINT));

    shown->surface->state.onScreen = false;  // minimised
    post(hidden, WM_CLOSE, 0);
    fake::backend().waits = 0;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT(WM_CLOSE));
    EXPECT_EQ(fake::backend().waits, 1);
    // Nothing to paint, nothing to come: an error, not a spin.
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), -1);
    EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
}

TEST_F(Win32Subset, AWakeWithoutInputWaitsAgain) {
    onScreen();
    fake::backend().input = {Wake::Input, Wake::Input};
    fake::backend().waits = 0;
    EXPECT_EQ(idsOf(untilPaint()), std::vector<UINT>{WM_PAINT});
    EXPECT_EQ(fake::backend().waits, 3);
}

// What a backend tells becomes the window's message, once for every backend;
// no window captures the pointer, so none hears of it outside its client area.
TEST_F(Win32Subset, InputBecomesMessagesAndNoPointerOutsideTheClientAreaArrives) {
    const HWND window = onScreen();  // 640 by 480
    using enum WindowInput::Kind;
    for (const WindowInput input : {WindowInput{PointerMove, -1, 10},  // the six outside
                                    {PointerMove, 10, -1},
                                    {PointerMove, 640, 10},
                                    {PointerMove, 10, 480},
                                    {LeftUp, 40000, 3},
                                    {LeftDown, 3, -2},
                                    {LeftDown, 0, 0},  // the six told
                                    {PointerMove, 639, 479},
                                    {LeftUp, 5, 6},
                                    {Resized, 300, 200},
                                    {Minimized, 7, 7},
                                    {Close, 7, 7}}) {
        postInput(window, input);
    }
    EXPECT_EQ(arrivals(untilPaint()), (std::vector<Arrival>{{WM_LBUTTONDOWN, 0, 0},
                                                            {WM_MOUSEMOVE, 0, packPoint(639, 479)},
                                                            {WM_LBUTTONUP, 0, packPoint(5, 6)},
                                                            {WM_SIZE, 0, packPoint(300, 200)},
                                                            {WM_SIZE, 1, 0},
                                                            {WM_CLOSE, 0, 0},
                                                            {WM_PAINT, 0, 0}}));
}

// A captured pointer (a finger's drag in the page) reaches its window
// outside the client area too, within the 16 bits of each half.
TEST_F(Win32Subset, ACapturedPointerArrivesAnywhereClampedTo16Bits) {
    const HWND window = onScreen();  // 640 by 480
    postInput(window, {WindowInput::LeftDown, 700, 500, true});
    postInput(window, {WindowInput::LeftUp, -7, 70000, true});
    EXPECT_EQ(arrivals(untilPaint()),
              (std::vector<Arrival>{{WM_LBUTTONDOWN, 0, packPoint(700, 500)},
                                    {WM_LBUTTONUP, 0, packPoint(0, 0xFFFF)},
                                    {WM_PAINT, 0, 0}}));
}

TEST_F(Win32Subset, MovesFoldIntoTheLatestBetweenOtherMessagesOfTheWindow) {
    const HWND window = onScreen();
    const HWND other = create();
    postMessage(window, {WM_LBUTTONDOWN, 0, packPoint(1, 1)});
    for (int x = 2; x < 6; ++x) postMessage(window, {WM_MOUSEMOVE, 0, packPoint(x, 1)});
    postMessage(other, {WM_MOUSEMOVE, 0, packPoint(9, 9)});
    postMessage(window, {WM_MOUSEMOVE, 0, packPoint(6, 1)});
    postMessage(window, {WM_LBUTTONUP, 0, packPoint(6, 1)});
    const std::vector<MSG> messages = untilPaint();
    ASSERT_EQ(idsOf(messages), (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE,
                                                  WM_MOUSEMOVE, WM_LBUTTONUP, WM_PAINT}));
    EXPECT_EQ(messages[1].lParam, packPoint(5, 1));
    EXPECT_EQ(messages[2].hwnd, other);
    EXPECT_EQ(messages[3].lParam, packPoint(6, 1));
}

// As on Windows, WM_SIZE comes only for a change from what the window was
// last told, at creation or by a size still queued.
TEST_F(Win32Subset, OnlySizeChangesArrive) {
    const HWND window = onScreen();  // told 640 by 480 at creation
    postMessage(window, {WM_SIZE, 0, packPoint(640, 480)});
    postMessage(window, {WM_SIZE, 0, packPoint(300, 200)});
    postMessage(window, {WM_SIZE, 0, packPoint(300, 200)});
    postMessage(window, {WM_SIZE, 1, 0});  // minimised
    postMessage(window, {WM_SIZE, 0, packPoint(300, 200)});
    EXPECT_EQ(arrivals(untilPaint()), (std::vector<Arrival>{{WM_SIZE, 0, packPoint(300, 200)},
                                                            {WM_SIZE, 1, 0},
                                                            {WM_SIZE, 0, packPoint(300, 200)},
                                                            {WM_PAINT, 0, 0}}));
    // Another window's size is its own.
    const HWND other = create();
    other->surface->state.onScreen = true;
    postMessage(other, {WM_SIZE, 0, packPoint(300, 200)});
    EXPECT_EQ(idsOf(untilPaint()), (std::vector<UINT>{WM_SIZE, WM_PAINT}));
}

TEST_F(Win32Subset, DispatchCallsTheWindowsProcedureAndOnlyForItsWindows) {
    const HWND window = create();
    const MSG msg{window, WM_MOUSEMOVE, 0, packPoint(4, 5), 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].lParam, packPoint(4, 5));
    int notAWindow = 0;
    const MSG foreign{reinterpret_cast<HWND>(&notAWindow), WM_PAINT, 0, 0, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&foreign), 0);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    postMessage(reinterpret_cast<HWND>(&notAWindow), {WM_CLOSE, 0, 0});
    EXPECT_TRUE(desktop().queue.empty());
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(TranslateMessage(&msg), FALSE);
    EXPECT_EQ(DefWindowProcA(window, WM_CLOSE, 0, 0), 0);
}

TEST_F(Win32Subset, AWindowsDeviceContextIsItsOwnAndTheSameEveryTime) {
    const HWND window = create();
    const HWND other = create();
    const HDC deviceContext = GetDC(window);
    ASSERT_NE(deviceContext, nullptr);
    EXPECT_EQ(GetDC(window), deviceContext);
    EXPECT_NE(GetDC(other), deviceContext);
    EXPECT_EQ(ReleaseDC(window, deviceContext), 1);
    EXPECT_EQ(ReleaseDC(other, deviceContext), 0);
    EXPECT_EQ(GetDC(nullptr), nullptr);
    RECT rect{0, 0, 10, 10};
    EXPECT_EQ(AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE), TRUE);
    EXPECT_EQ(rect.right, 10) << "the frame lies outside the client area";
    EXPECT_EQ(AdjustWindowRect(nullptr, 0, FALSE), FALSE);
}

TEST_F(Win32Subset, APixelFormatIsChosenFromTheBackendsAndSetOnce) {
    const HDC deviceContext = GetDC(create());
    const PIXELFORMATDESCRIPTOR asked = windowFormatRequest(24);
    EXPECT_EQ(ChoosePixelFormat(deviceContext, &asked), 3);
    const PIXELFORMATDESCRIPTOR fewer = windowFormatRequest(16);
    EXPECT_EQ(ChoosePixelFormat(deviceContext, &fewer), 2);
    EXPECT_EQ(ChoosePixelFormat(deviceContext, nullptr), 0);
    EXPECT_EQ(ChoosePixelFormat(nullptr, &asked), 0);

    EXPECT_EQ(SetPixelFormat(deviceContext, 1, &asked), FALSE) << "single-buffered";
    EXPECT_EQ(SetPixelFormat(deviceContext, 4, &asked), FALSE) << "no such format";
    EXPECT_EQ(SetPixelFormat(deviceContext, 3, &asked), TRUE);
    EXPECT_EQ(fake::lastSurface().pixelFormat, 3);
    EXPECT_EQ(SetPixelFormat(deviceContext, 3, &asked), TRUE);
    EXPECT_EQ(SetPixelFormat(deviceContext, 2, &asked), FALSE);

    const HDC refused = GetDC(create());
    fake::backend().refuseFormats = true;
    EXPECT_EQ(SetPixelFormat(refused, 3, &asked), FALSE);
    fake::backend().refuseFormats = false;
    EXPECT_EQ(SetPixelFormat(refused, 2, &asked), TRUE) << "still unset";
}

TEST_F(Win32Subset, RenderingContextsNeedAPixelFormatAndOnlyTheLayersAreTaken) {
    const HDC deviceContext = GetDC(create());
    EXPECT_EQ(wglCreateContext(deviceContext), nullptr) << "no pixel format yet";
    EXPECT_EQ(SwapBuffers(deviceContext), FALSE);
    ASSERT_EQ(SetPixelFormat(deviceContext, 3, nullptr), TRUE);
    fake::backend().refuseContexts = true;
    EXPECT_EQ(wglCreateContext(deviceContext), nullptr);
    fake::backend().refuseContexts = false;
    const HGLRC made = wglCreateContext(deviceContext);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(fake::backend().contexts.back()->pixelFormat, 3);

    ASSERT_EQ(wglMakeCurrent(deviceContext, made), TRUE);
    EXPECT_EQ(fake::backend().currentSurface, &fake::lastSurface());
    int notAContext = 0;
    const HGLRC foreign = reinterpret_cast<HGLRC>(&notAContext);
    EXPECT_EQ(wglMakeCurrent(deviceContext, foreign), FALSE);
    EXPECT_EQ(wglMakeCurrent(nullptr, made), FALSE) << "no device context";
    EXPECT_EQ(wglDeleteContext(foreign), FALSE);
    EXPECT_EQ(fake::backend().current, fake::backend().contexts.back().get());

    const int presents = fake::backend().presents;
    EXPECT_EQ(SwapBuffers(deviceContext), TRUE);
    EXPECT_EQ(fake::backend().presents, presents + 1);

    EXPECT_EQ(wglMakeCurrent(nullptr, nullptr), TRUE);
    EXPECT_EQ(fake::backend().current, nullptr);
    EXPECT_EQ(wglDeleteContext(made), TRUE);
    EXPECT_EQ(wglDeleteContext(made), FALSE) << "deleted, it is no longer the layer's";
    EXPECT_EQ(wglMakeCurrent(deviceContext, made), FALSE);
}

TEST_F(Win32Subset, TheSystemFontIsTheOneToSelectMeasureAndBuildListsOf) {
    const HDC deviceContext = GetDC(create());
    const HGDIOBJ font = GetStockObject(SYSTEM_FONT);
    ASSERT_EQ(font, &fake::backend().font);
    EXPECT_EQ(GetStockObject(SYSTEM_FONT + 1), nullptr);
    EXPECT_EQ(SelectObject(deviceContext, font), font) << "a new one has the system font";
    int notAFont = 0;
    EXPECT_EQ(SelectObject(deviceContext, &notAFont), nullptr);
    EXPECT_EQ(SelectObject(deviceContext, nullptr), nullptr);
    EXPECT_EQ(SelectObject(nullptr, font), nullptr);

    int widths[3] = {};
    ASSERT_EQ(GetCharWidth32A(deviceContext, 'A', 'C', widths), TRUE);
    EXPECT_EQ(std::to_array(widths), (std::array{9, 8, 9}));  // 'A' is 65, odd: one wider
    EXPECT_EQ(GetCharWidth32A(deviceContext, 'C', 'A', widths), FALSE);
    EXPECT_EQ(GetCharWidth32A(deviceContext, 'A', 'C', nullptr), FALSE);

    fake::backend().lists.clear();
    EXPECT_EQ(wglUseFontBitmapsA(deviceContext, 32, 96, 1000), TRUE);
    EXPECT_EQ(fake::backend().lists, std::vector<std::string>{"32 96 1000"});
    fake::backend().hasCurrentContextForLists = false;
    EXPECT_EQ(wglUseFontBitmapsA(deviceContext, 32, 96, 1000), FALSE);
    fake::backend().hasCurrentContextForLists = true;

    fake::backend().hasFont = false;  // a server without the font
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), nullptr);
    EXPECT_EQ(GetCharWidth32A(GetDC(create()), 'A', 'C', widths), FALSE);
    EXPECT_EQ(wglUseFontBitmapsA(GetDC(create()), 32, 96, 1000), FALSE);
}

TEST_F(Win32Subset, AMessageBoxHasACaptionAlwaysAndReturnsOk) {
    const HWND owner = create();
    fake::backend().boxes.clear();
    EXPECT_EQ(MessageBoxA(owner, "Broken", "Vell", MB_OK), 1);  // IDOK
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), 1);
    int notAWindow = 0;
    EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(&notAWindow), "x", nullptr, MB_OK), 1);
    // "Error" is Windows' caption for a box without one.
    EXPECT_EQ(
        fake::backend().boxes,
        (std::vector<fake::Backend::Box>{
            {owner->surface, "Broken", "Vell"}, {nullptr, "", "Error"}, {nullptr, "x", "Error"}}));
}

TEST_F(Win32Subset, StockIconsAndCursorsHaveANameEach) {
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    EXPECT_EQ(LoadIconA(nullptr, nullptr), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, nullptr), nullptr);
}

}  // namespace
