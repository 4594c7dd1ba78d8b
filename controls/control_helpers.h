#pragma once
// Style tests on any window, and destroying an object that may not exist.
#include <windows.h>

// True when any bit of `mask` is set in the window's style.
bool VOHasStyle(HWND hwnd, DWORD mask);
// True when any bit of `mask` is set in the window's extended style.
bool VOHasStyleEx(HWND hwnd, DWORD mask);

// Destroys `object` when there is one; the caller's pointer stays as it is.
template <class T>
void ShouldDestroy(T* object) {
  if (object != nullptr) object->Destroy();
}
