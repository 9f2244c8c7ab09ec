#include "platform/common/class_registry.h"

#include <strings.h>

#include <cstdint>

namespace {

constexpr ATOM kFirstAtom = 0xC000;
constexpr size_t kMaxClasses = 0x10000 - kFirstAtom;

// An atom passed as a pointer, MAKEINTATOM-style: a value below 0x10000.
bool isAtom(LPCSTR atomOrName) {
    return reinterpret_cast<uintptr_t>(atomOrName) <= 0xFFFF;
}

bool isWellFormed(const WNDCLASSEXA* windowClass) {
    return windowClass && windowClass->cbSize == sizeof(WNDCLASSEXA) && windowClass->lpfnWndProc &&
           !isAtom(windowClass->lpszClassName) && windowClass->lpszClassName[0] != '\0';
}

}  // namespace

ATOM ClassRegistry::add(const WNDCLASSEXA* windowClass) {
    if (!isWellFormed(windowClass) || classes_.size() == kMaxClasses) return 0;
    if (byName(windowClass->lpszClassName)) return 0;
    const ATOM atom = static_cast<ATOM>(kFirstAtom + classes_.size());
    classes_.push_back(
        {atom, windowClass->lpszClassName, windowClass->style, windowClass->lpfnWndProc});
    return atom;
}

const WindowClass* ClassRegistry::find(LPCSTR atomOrName) const {
    if (isAtom(atomOrName))
        return byAtom(static_cast<ATOM>(reinterpret_cast<uintptr_t>(atomOrName)));
    return byName(atomOrName);
}

const WindowClass* ClassRegistry::byAtom(ATOM atom) const {
    if (atom < kFirstAtom || atom - kFirstAtom >= static_cast<int>(classes_.size())) return nullptr;
    return &classes_[atom - kFirstAtom];
}

const WindowClass* ClassRegistry::byName(const char* name) const {
    for (const WindowClass& windowClass : classes_) {
        if (strcasecmp(windowClass.name.c_str(), name) == 0) return &windowClass;
    }
    return nullptr;
}
