#pragma once
// Pointer and keyboard input as the hardware gives it (SendInput), from any thread and into any
// process's window: the system turns it into the messages a user's input would produce.

#include <windows.h>

#include <string_view>

namespace testsupport {

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0);
// Moves the pointer to a point in screen coordinates.
void MovePointer(POINT screen);
// A key pressed and released.
void PressKey(WORD key);
// Each character typed as a key of its own, whatever the keyboard layout.
void TypeText(std::wstring_view text);

}  // namespace testsupport
