#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include "platform/x11/event_translation.h"

namespace {

constexpr ProtocolAtoms kAtoms{301, 302, 303};
constexpr WindowView kShown{256, 256, true, false, false};
constexpr WindowView kIconic{256, 256, false, true, false};

XEvent configure(int width, int height) {
    XEvent event{};
    event.xconfigure.type = ConfigureNotify;
    event.xconfigure.x = 40;
    event.xconfigure.y = 30;
    event.xconfigure.width = width;
    event.xconfigure.height = height;
    return event;
}

XEvent button(int type, unsigned which, int x, int y) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.button = which;
    event.xbutton.x = x;
    event.xbutton.y = y;
    return event;
}

XEvent motion(int x, int y) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.x = x;
    event.xmotion.y = y;
    return event;
}

XEvent clientMessage(Atom type, int format, long first) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.message_type = type;
    event.xclient.format = format;
    event.xclient.data.l[0] = first;
    return event;
}

XEvent destroyNotify(::Window window, ::Window notified) {
    XEvent event{};
    event.xdestroywindow.type = DestroyNotify;
    event.xdestroywindow.event = notified;
    event.xdestroywindow.window = window;
    return event;
}

XEvent propertyNotify(Atom atom) {
    XEvent event{};
    event.xproperty.type = PropertyNotify;
    event.xproperty.atom = atom;
    return event;
}

XEvent motionOf(::Window window) {
    XEvent event = motion(1, 1);
    event.xmotion.window = window;
    return event;
}

XEvent ofType(int type) {
    XEvent event{};
    event.type = type;
    return event;
}

Message messageOf(const XEvent& event, WindowView view = kShown) {
    const Translation translation = translateEvent(event, view, kAtoms);
    EXPECT_TRUE(translation.message.has_value());
    return translation.message.value_or(Message{0, 0, 0});
}

TEST(TranslateEvent, ANewSizeIsWmSizeAndBecomesTheKnownSize) {
    const Translation translation = translateEvent(configure(320, 200), kShown, kAtoms);
    ASSERT_TRUE(translation.message);
    EXPECT_EQ(*translation.message, (Message{WM_SIZE, 0, (200 << 16) | 320}));
    EXPECT_EQ(translation.view, (WindowView{320, 200, true, false, false}));
}

TEST(TranslateEvent, AMoveOrRestackAtTheSameSizeMakesNoMessage) {
    const Translation translation = translateEvent(configure(256, 256), kShown, kAtoms);
    EXPECT_FALSE(translation.message);
    EXPECT_EQ(translation.view, kShown);
}

TEST(TranslateEvent, OnlyOneDimensionChangingIsANewSize) {
    EXPECT_EQ(messageOf(configure(256, 100)).lParam, (100 << 16) | 256);
    EXPECT_EQ(messageOf(configure(90, 256)).lParam, (256 << 16) | 90);
}

TEST(TranslateEvent, TheLeftButtonIsPressedAndReleasedAtItsPoint) {
    EXPECT_EQ(messageOf(button(ButtonPress, Button1, 10, 20)),
              (Message{WM_LBUTTONDOWN, 0, (20 << 16) | 10}));
    EXPECT_EQ(messageOf(button(ButtonRelease, Button1, 30, 40)),
              (Message{WM_LBUTTONUP, 0, (40 << 16) | 30}));
}

TEST(TranslateEvent, OtherButtonsAndTheWheelMakeNoMessage) {
    for (unsigned which : {Button2, Button3, Button4, Button5}) {
        EXPECT_FALSE(translateEvent(button(ButtonPress, which, 1, 1), kShown, kAtoms).message);
        EXPECT_FALSE(translateEvent(button(ButtonRelease, which, 1, 1), kShown, kAtoms).message);
    }
}

TEST(TranslateEvent, PointerMotionIsWmMouseMove) {
    EXPECT_EQ(messageOf(motion(7, 9)), (Message{WM_MOUSEMOVE, 0, (9 << 16) | 7}));
}

TEST(TranslateEvent, APointerOutsideTheClientAreaReachesNoOne) {
    // X keeps reporting a held button's pointer outside the window; the
    // program's window does not capture it and hears nothing of it.
    for (const XEvent& outside :
         {motion(-5, 10), motion(10, -1), motion(256, 10), motion(10, 256),
          button(ButtonRelease, Button1, 40000, 3), button(ButtonRelease, Button1, 3, -2)}) {
        EXPECT_FALSE(translateEvent(outside, kShown, kAtoms).message);
    }
    EXPECT_EQ(messageOf(motion(255, 255)), (Message{WM_MOUSEMOVE, 0, (255 << 16) | 255}));
    EXPECT_EQ(messageOf(button(ButtonRelease, Button1, 0, 0)), (Message{WM_LBUTTONUP, 0, 0}));
}

TEST(TranslateEvent, TheWindowManagersDeleteRequestIsWmClose) {
    EXPECT_EQ(messageOf(clientMessage(kAtoms.protocols, 32, kAtoms.deleteWindow)),
              (Message{WM_CLOSE, 0, 0}));
}

TEST(TranslateEvent, OtherClientMessagesMakeNoMessage) {
    const ProtocolAtoms atoms = kAtoms;
    EXPECT_FALSE(translateEvent(clientMessage(999, 32, atoms.deleteWindow), kShown, atoms).message);
    EXPECT_FALSE(translateEvent(clientMessage(atoms.protocols, 32, 999), kShown, atoms).message);
    EXPECT_FALSE(
        translateEvent(clientMessage(atoms.protocols, 8, atoms.deleteWindow), kShown, atoms)
            .message);
}

TEST(TranslateEvent, UnmapAndMapOnlyChangeWhetherTheWindowIsShown) {
    const Translation unmapped = translateEvent(ofType(UnmapNotify), kShown, kAtoms);
    EXPECT_FALSE(unmapped.message);
    EXPECT_EQ(unmapped.view, (WindowView{256, 256, false, false, false}));
    const Translation mapped = translateEvent(ofType(MapNotify), unmapped.view, kAtoms);
    EXPECT_FALSE(mapped.message);
    EXPECT_EQ(mapped.view, kShown);
}

TEST(TranslateEvent, OtherEventsAreConsumedWithoutChange) {
    for (int type : {Expose, KeyPress, EnterNotify, FocusIn, ReparentNotify, PropertyNotify,
                     VisibilityNotify}) {
        const Translation translation = translateEvent(ofType(type), kShown, kAtoms);
        EXPECT_FALSE(translation.message) << "event type " << type;
        EXPECT_EQ(translation.view, kShown);
    }
}

TEST(TranslateEvent, TheWindowDestroyedByAnotherClientIsClosedAndNoLongerOnScreen) {
    const Translation translation = translateEvent(destroyNotify(77, 77), kShown, kAtoms);
    ASSERT_TRUE(translation.message);
    EXPECT_EQ(*translation.message, (Message{WM_CLOSE, 0, 0}));
    EXPECT_EQ(translation.view, (WindowView{256, 256, false, false, true}));
    EXPECT_FALSE(isOnScreen(translation.view));
}

TEST(TranslateEvent, AChildsDestructionIsNotTheWindows) {
    const Translation translation = translateEvent(destroyNotify(78, 77), kShown, kAtoms);
    EXPECT_FALSE(translation.message);
    EXPECT_EQ(translation.view, kShown);
}

TEST(TranslateEvent, AnIconicWindowKeepsANewSizeForItsRestoring) {
    const Translation translation = translateEvent(configure(320, 200), kIconic, kAtoms);
    EXPECT_FALSE(translation.message);
    EXPECT_EQ(translation.view, (WindowView{320, 200, false, true, false}));
}

TEST(SizeMessage, IsTheClientSizeOrZeroWhileIconic) {
    EXPECT_EQ(sizeMessage({300, 200, true, false, false}),
              (Message{WM_SIZE, 0, (200 << 16) | 300}));
    EXPECT_EQ(sizeMessage({300, 200, false, true, false}), (Message{WM_SIZE, 1, 0}));
}

TEST(IsOnScreen, OnlyAMappedWindowNeitherIconicNorDestroyed) {
    EXPECT_TRUE(isOnScreen(kShown));
    EXPECT_FALSE(isOnScreen({256, 256, false, false, false}));
    EXPECT_FALSE(isOnScreen({256, 256, true, true, false}));  // mapped by a compositing manager
    EXPECT_FALSE(isOnScreen({256, 256, true, false, true}));
}

TEST(StateChange, IsANewWmStateProperty) {
    EXPECT_TRUE(isStateChange(propertyNotify(kAtoms.wmState), kAtoms));
    EXPECT_FALSE(isStateChange(propertyNotify(kAtoms.protocols), kAtoms));
    XEvent notProperty = clientMessage(kAtoms.wmState, 32, kAtoms.wmState);
    EXPECT_FALSE(isStateChange(notProperty, kAtoms));
}

TEST(TranslateState, IconifyingSends0By0AndRestoringTheClientSize) {
    const Translation iconified = translateState(IconicState, kShown);
    ASSERT_TRUE(iconified.message);
    EXPECT_EQ(*iconified.message, (Message{WM_SIZE, 1, 0}));  // SIZE_MINIMIZED
    EXPECT_TRUE(iconified.view.iconic);
    const Translation restored = translateState(NormalState, {320, 200, true, true, false});
    ASSERT_TRUE(restored.message);
    EXPECT_EQ(*restored.message, (Message{WM_SIZE, 0, (200 << 16) | 320}));  // SIZE_RESTORED
    EXPECT_EQ(restored.view, (WindowView{320, 200, true, false, false}));
}

TEST(TranslateState, AnUnchangedWithdrawnOrUnknownStateSendsNothing) {
    EXPECT_FALSE(translateState(NormalState, kShown).message);
    EXPECT_FALSE(translateState(IconicState, kIconic).message);
    for (long state : {long{WithdrawnState}, -1L, 2L, 4L, 1L << 40}) {
        EXPECT_EQ(translateState(state, kShown).view, kShown) << state;
        EXPECT_EQ(translateState(state, kIconic).view, kIconic) << state;
        EXPECT_FALSE(translateState(state, kIconic).message) << state;
    }
}

TEST(ContinuesMotion, OnlyAnotherMoveOverTheSameWindow) {
    EXPECT_TRUE(continuesMotion(motionOf(5), motionOf(5)));
    EXPECT_FALSE(continuesMotion(motionOf(5), motionOf(6)));
    XEvent press = button(ButtonPress, Button1, 1, 1);
    press.xbutton.window = 5;
    EXPECT_FALSE(continuesMotion(motionOf(5), press));
    EXPECT_FALSE(continuesMotion(press, motionOf(5)));
}

}  // namespace
