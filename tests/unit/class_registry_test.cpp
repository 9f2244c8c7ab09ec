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

// Registers the class `name` of `procedure`; its atom, or 0.
ATOM add(ClassRegistry& registry, const char* name, WNDPROC procedure = procedureA) {
    const WNDCLASSEXA record = windowClass(name, procedure);
    return registry.add(&record);
}

TEST(ClassRegistry, AtomsStartAt0xC000AndNameTheirClass) {
    ClassRegistry registry;
    const ATOM a = add(registry, "Vell");
    const ATOM b = add(registry, "Other", procedureB);
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
    const ATOM atom = add(registry, "Vell");
    EXPECT_EQ(registry.find("vELL")->atom, atom);
    EXPECT_EQ(registry.find("Vel"), nullptr);
}

TEST(ClassRegistry, UnknownAtomsFindNothing) {
    ClassRegistry registry;
    add(registry, "Vell");
    EXPECT_EQ(registry.find(MAKEINTATOM(0)), nullptr);
    EXPECT_EQ(registry.find(MAKEINTATOM(0xBFFF)), nullptr);
    EXPECT_EQ(registry.find(MAKEINTATOM(0xC001)), nullptr);
    EXPECT_EQ(registry.find(MAKEINTATOM(0xFFFF)), nullptr);
}

TEST(ClassRegistry, ANameIsRegisteredOnce) {
    ClassRegistry registry;
    EXPECT_NE(add(registry, "Vell"), 0);
    EXPECT_EQ(add(registry, "VELL", procedureB), 0);
    EXPECT_EQ(registry.find("Vell")->procedure, procedureA);
}

TEST(ClassRegistry, RefusesMalformedRecords) {
    ClassRegistry registry;
    EXPECT_EQ(registry.add(nullptr), 0);
    WNDCLASSEXA wrongSize = windowClass("A");
    wrongSize.cbSize = sizeof wrongSize - 1;
    EXPECT_EQ(registry.add(&wrongSize), 0);
    EXPECT_EQ(add(registry, "B", nullptr), 0);         // no procedure
    EXPECT_EQ(add(registry, nullptr), 0);              // no name
    EXPECT_EQ(add(registry, ""), 0);                   // an empty name
    EXPECT_EQ(add(registry, MAKEINTATOM(0xC000)), 0);  // an atom for a name
    // None of them took an atom.
    EXPECT_EQ(add(registry, "Vell"), 0xC000);
}

TEST(ClassRegistry, RunsOutOfAtomsAtTheEndOfTheirRange) {
    ClassRegistry registry;
    ATOM last = 0;
    for (int i = 0; i < 0x4000; ++i) last = add(registry, ("class" + std::to_string(i)).c_str());
    EXPECT_EQ(last, 0xFFFF);
    EXPECT_EQ(add(registry, "one more"), 0);
    EXPECT_EQ(registry.find(MAKEINTATOM(0xFFFF))->name, "class16383");
}

}  // namespace
