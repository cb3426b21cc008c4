#include "tests/support/user_input.h"

#include <vector>

namespace testsupport {

void SendMouse(DWORD flags, LONG dx, LONG dy) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.dx = dx;
  input.mi.dy = dy;
  SendInput(1, &input, sizeof(input));
}

// Absolute positions are in 1/65536 of the screen; Wine maps them back by truncation, so round
// up to land on the very pixel.
void MovePointer(POINT screen) {
  const LONG width = GetSystemMetrics(SM_CXSCREEN);
  const LONG height = GetSystemMetrics(SM_CYSCREEN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (screen.x * 65536 + width - 1) / width,
            (screen.y * 65536 + height - 1) / height);
}

void PressKey(WORD key) {
  PressKeys({key});
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> input(keys.size() * 2);
  size_t down = 0;
  for (const WORD key : keys) {
    for (INPUT* event : {&input[down], &input[input.size() - 1 - down]}) {
      event->type = INPUT_KEYBOARD;
      event->ki.wVk = key;
    }
    input[input.size() - 1 - down].ki.dwFlags = KEYEVENTF_KEYUP;
    ++down;
  }
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void TypeText(std::wstring_view text) {
  std::vector<INPUT> input;
  for (const wchar_t character : text) {
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT key = {};
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = character;
      key.ki.dwFlags = KEYEVENTF_UNICODE | up;
      input.push_back(key);
    }
  }
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

}  // namespace testsupport
