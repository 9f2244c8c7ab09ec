#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include "platform/x11/event_translation.h"

namespace {

constexpr ProtocolAtoms kAtoms{301, 302, 303};
constexpr WindowView kShown{256, 256, true, false, false};
constexpr WindowView kIconic{256, 256, false, true, false};

// An event of `type` with nothing else set.
XEvent ofType(int type) {
    XEvent event{};
    event.type = type;
    return event;
}

XEvent configure(int width, int height) {
    XEvent event = ofType(ConfigureNotify);
    event.xconfigure.x = 40;
    event.xconfigure.y = 30;
    event.xconfigure.width = width;
    event.xconfigure.height = height;
    return event;
}

XEvent button(int type, unsigned which, int x, int y) {
    XEvent event = ofType(type);
    event.xbutton.button = which;
    event.xbutton.x = x;
    event.xbutton.y = y;
    return event;
}

XEvent motion(int x, int y) {
    XEvent event = ofType(MotionNotify);
    event.xmotion.x = x;
    event.xmotion.y = y;
    return event;
}

XEvent clientMessage(Atom type, int format, long first) {
    XEvent event = ofType(ClientMessage);
    event.xclient.message_type = type;
    event.xclient.format = format;
    event.xclient.data.l[0] = first;
    return event;
}

XEvent destroyNotify(::Window window, ::Window notified) {
    XEvent event = ofType(DestroyNotify);
    event.xdestroywindow.event = notified;
    event.xdestroywindow.window = window;
    return event;
}

XEvent propertyNotify(Atom atom) {
    XEvent event = ofType(PropertyNotify);
    event.xproperty.atom = atom;
    return event;
}

Translation translate(const XEvent& event, WindowView view = kShown) {
    return translateEvent(event, view, kAtoms);
}

WindowInput inputOf(const XEvent& event) {
    const Translation translation = translate(event);
    EXPECT_TRUE(translation.input.has_value());
    return translation.input.value_or(WindowInput{WindowInput::Close, -1, -1});
}

TEST(TranslateEvent, ASizeFromTheServerIsToldAndBecomesTheKnownSize) {
    const Translation translation = translate(configure(320, 200));
    EXPECT_EQ(translation.input, (WindowInput{WindowInput::Resized, 320, 200}));
    EXPECT_EQ(translation.view, (WindowView{320, 200, true, false, false}));
    // A move or a restacking comes with the same size, which the shared layer drops.
    EXPECT_EQ(inputOf(configure(256, 256)), (WindowInput{WindowInput::Resized, 256, 256}));
}

TEST(TranslateEvent, TheLeftButtonAndThePointerAreToldAtTheirPoint) {
    EXPECT_EQ(inputOf(button(ButtonPress, Button1, 10, 20)),
              (WindowInput{WindowInput::LeftDown, 10, 20}));
    EXPECT_EQ(inputOf(button(ButtonRelease, Button1, 30, 40)),
              (WindowInput{WindowInput::LeftUp, 30, 40}));
    EXPECT_EQ(inputOf(motion(7, 9)), (WindowInput{WindowInput::PointerMove, 7, 9}));
    // Outside the window too, where X reports a held button's pointer: the
    // shared layer keeps it from the window.
    EXPECT_EQ(inputOf(motion(-5, 40000)), (WindowInput{WindowInput::PointerMove, -5, 40000}));
}

TEST(TranslateEvent, OtherButtonsAndTheWheelTellNothing) {
    for (unsigned which : {Button2, Button3, Button4, Button5}) {
        EXPECT_FALSE(translate(button(ButtonPress, which, 1, 1)).input);
        EXPECT_FALSE(translate(button(ButtonRelease, which, 1, 1)).input);
    }
}

TEST(TranslateEvent, TheWindowManagersDeleteRequestIsAClose) {
    EXPECT_EQ(inputOf(clientMessage(kAtoms.protocols, 32, kAtoms.deleteWindow)),
              (WindowInput{WindowInput::Close, 0, 0}));
}

TEST(TranslateEvent, OtherClientMessagesTellNothing) {
    EXPECT_FALSE(translate(clientMessage(999, 32, kAtoms.deleteWindow)).input);
    EXPECT_FALSE(translate(clientMessage(kAtoms.protocols, 32, 999)).input);
    EXPECT_FALSE(translate(clientMessage(kAtoms.protocols, 8, kAtoms.deleteWindow)).input);
}

TEST(TranslateEvent, UnmapAndMapOnlyChangeWhetherTheWindowIsShown) {
    const Translation unmapped = translate(ofType(UnmapNotify));
    EXPECT_FALSE(unmapped.input);
    EXPECT_EQ(unmapped.view, (WindowView{256, 256, false, false, false}));
    const Translation mapped = translate(ofType(MapNotify), unmapped.view);
    EXPECT_FALSE(mapped.input);
    EXPECT_EQ(mapped.view, kShown);
}

TEST(TranslateEvent, OtherEventsAreConsumedWithoutChange) {
    for (int type : {Expose, KeyPress, EnterNotify, FocusIn, ReparentNotify, PropertyNotify,
                     VisibilityNotify}) {
        const Translation translation = translate(ofType(type));
        EXPECT_FALSE(translation.input) << "event type " << type;
        EXPECT_EQ(translation.view, kShown);
    }
}

TEST(TranslateEvent, TheWindowDestroyedByAnotherClientIsClosedAndNoLongerOnScreen) {
    const Translation translation = translate(destroyNotify(77, 77));
    EXPECT_EQ(translation.input, (WindowInput{WindowInput::Close, 0, 0}));
    EXPECT_EQ(translation.view, (WindowView{256, 256, false, false, true}));
    EXPECT_FALSE(isOnScreen(translation.view));
}

TEST(TranslateEvent, AChildsDestructionIsNotTheWindows) {
    const Translation translation = translate(destroyNotify(78, 77));
    EXPECT_FALSE(translation.input);
    EXPECT_EQ(translation.view, kShown);
}

TEST(TranslateEvent, AnIconicWindowStaysMinimisedAndKeepsANewSizeForItsRestoring) {
    const Translation translation = translate(configure(320, 200), kIconic);
    EXPECT_EQ(translation.input, (WindowInput{WindowInput::Minimized, 0, 0}));
    EXPECT_EQ(translation.view, (WindowView{320, 200, false, true, false}));
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
    EXPECT_FALSE(isStateChange(clientMessage(kAtoms.wmState, 32, kAtoms.wmState), kAtoms));
}

TEST(TranslateState, IconifyingMinimisesAndRestoringTellsTheClientSize) {
    const Translation iconified = translateState(IconicState, kShown);
    EXPECT_EQ(iconified.input, (WindowInput{WindowInput::Minimized, 0, 0}));
    EXPECT_TRUE(iconified.view.iconic);
    const Translation restored = translateState(NormalState, {320, 200, true, true, false});
    EXPECT_EQ(restored.input, (WindowInput{WindowInput::Resized, 320, 200}));
    EXPECT_EQ(restored.view, (WindowView{320, 200, true, false, false}));
}

TEST(TranslateState, AnUnchangedWithdrawnOrUnknownStateTellsNothing) {
    EXPECT_FALSE(translateState(NormalState, kShown).input);
    EXPECT_FALSE(translateState(IconicState, kIconic).input);
    for (long state : {long{WithdrawnState}, -1L, 2L, 4L, 1L << 40}) {
        EXPECT_EQ(translateState(state, kShown).view, kShown) << state;
        EXPECT_EQ(translateState(state, kIconic).view, kIconic) << state;
        EXPECT_FALSE(translateState(state, kIconic).input) << state;
    }
}

}  // namespace
