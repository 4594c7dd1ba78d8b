#include "registry/registry_roots.h"

// The override ignores what it is given: the root never changes.
Class_HKCR::Class_HKCR() { AssignRoot(HKEY_CLASSES_ROOT); }
HKEY Class_HKCR::Key(HKEY) { return Key(); }

Class_HKCU::Class_HKCU() { AssignRoot(HKEY_CURRENT_USER); }
HKEY Class_HKCU::Key(HKEY) { return Key(); }

Class_HKLM::Class_HKLM() { AssignRoot(HKEY_LOCAL_MACHINE); }
HKEY Class_HKLM::Key(HKEY) { return Key(); }
