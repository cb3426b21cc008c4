#pragma once
// Pointer and keyboard input as the hardware gives it (SendInput), from any thread and into any
// process's window: the system turns it into the messages a user's input would produce.

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace testsupport {

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0);
// Moves the pointer to a point in screen coordinates.
void MovePointer(POINT screen);
// A key pressed and released.
void PressKey(WORD key);
// Keys pressed in order and released in the reverse order: a chord such as Ctrl+F.
void PressKeys(std::initializer_list<WORD> keys);
// Each character typed as a key of its own, whatever the keyboard layout.
void TypeText(std::wstring_view text);

}  // namespace testsupport
