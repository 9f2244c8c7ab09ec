#include <gtest/gtest.h>

#include "platform/common/class_registry.h"

namespace {

LRESULT CALLBACK procedureA(HWND, UINT, WPARAM, LPARAM) {
    return 1;
}

LRESULT CALLBACK procedureB(HWND, UINT, WPARAM, LPARAM) {
    return 2;
}

WNDCLASSEXA windowClass(const char* name, WNDPROC procedure = procedureA) {
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    record.lpfnWndProc = procedure;
    record.lpszClassName = name;
    return record;
}

TEST(ClassRegistry, AtomsStartAt0xC000AndNameTheirClass) {
    ClassRegistry registry;
    const WNDCLASSEXA first = windowClass("Vell");
    const WNDCLASSEXA second = windowClass("Other", procedureB);
    const ATOM a = registry.add(&first);
    const ATOM b = registry.add(&second);
    EXPECT_EQ(a, 0xC000);
    EXPECT_EQ(b, 0xC001);
    const WindowClass* found = registry.find(MAKEINTATOM(a));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name, "Vell");
    EXPECT_EQ(found->procedure, procedureA);
    EXPECT_EQ(found->style, static_cast<UINT>(CS_OWNDC | CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(registry.find(MAKEINTATOM(b))->procedure, procedureB);
}

TEST(ClassRegistry, KeepsItsOwnCopyOfTheName) {
    ClassRegistry registry;
    char name[] = "Vell";
    const WNDCLASSEXA record = windowClass(name);
    const ATOM atom = registry.add(&record);
    name[0] = 'X';
    EXPECT_EQ(registry.find(MAKEINTATOM(atom))->name, "Vell");
}

TEST(ClassRegistry, FindsByNameWithoutCase) {
    ClassRegistry registry;
    const WNDCLASSEXA record = windowClass("Vell");
    const ATOM atom = registry.add(&record);
    EXPECT_EQ(registry.find("vELL")->atom, atom);
    EXPECT_EQ(registry.find("Vel"), nullptr);
}

TEST(ClassRegistry, UnknownAtomsFindNothing) {
    ClassRegistry registry;
    const WNDCLASSEXA record = windowClass("Vell");
    registry.add(&record);
    EXPECT_EQ(registry.find(MAKEINTATOM(0)), nullptr);
    EXPECT_EQ(registry.find(MAKEINTATOM(0xBFFF)), nullptr);
    EXPECT_EQ(registry.find(MAKEINTATOM(0xC001)), nullptr);
    EXPECT_EQ(registry.find(MAKEINTATOM(0xFFFF)), nullptr);
}

TEST(ClassRegistry, ANameIsRegisteredOnce) {
    ClassRegistry registry;
    const WNDCLASSEXA first = windowClass("Vell");
    const WNDCLASSEXA again = windowClass("VELL", procedureB);
    EXPECT_NE(registry.add(&first), 0);
    EXPECT_EQ(registry.add(&again), 0);
    EXPECT_EQ(registry.find("Vell")->procedure, procedureA);
}

TEST(ClassRegistry, RefusesMalformedRecords) {
    ClassRegistry registry;
    EXPECT_EQ(registry.add(nullptr), 0);
    WNDCLASSEXA wrongSize = windowClass("A");
    wrongSize.cbSize = sizeof wrongSize - 1;
    EXPECT_EQ(registry.add(&wrongSize), 0);
    WNDCLASSEXA noProcedure = windowClass("B", nullptr);
    EXPECT_EQ(registry.add(&noProcedure), 0);
    WNDCLASSEXA noName = windowClass(nullptr);
    EXPECT_EQ(registry.add(&noName), 0);
    WNDCLASSEXA emptyName = windowClass("");
    EXPECT_EQ(registry.add(&emptyName), 0);
    WNDCLASSEXA atomName = windowClass(MAKEINTATOM(0xC000));
    EXPECT_EQ(registry.add(&atomName), 0);
    // None of them took an atom.
    const WNDCLASSEXA good = windowClass("Vell");
    EXPECT_EQ(registry.add(&good), 0xC000);
}

TEST(ClassRegistry, RunsOutOfAtomsAtTheEndOfTheirRange) {
    ClassRegistry registry;
    ATOM last = 0;
    for (int i = 0; i < 0x4000; ++i) {
        const std::string name = "class" + std::to_string(i);
        const WNDCLASSEXA record = windowClass(name.c_str());
        last = registry.add(&record);
    }
    EXPECT_EQ(last, 0xFFFF);
    const WNDCLASSEXA oneMore = windowClass("one more");
    EXPECT_EQ(registry.add(&oneMore), 0);
    EXPECT_EQ(registry.find(MAKEINTATOM(0xFFFF))->name, "class16383");
}

}  // namespace
