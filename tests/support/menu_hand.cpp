#include "tests/support/menu_hand.h"

#include "tests/support/other_windows.h"
#include "tests/support/user_input.h"

namespace testsupport {

MenuHand::MenuHand(int choose, Input input) : thread_([this, choose, input] { Run(choose, input); }) {}

void MenuHand::Run(int choose, Input input) {
  HWND menuWindow = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> menus = VisibleWindows(0, L"#32768");
        menuWindow = menus.empty() ? nullptr : menus.front();
        return menuWindow != nullptr;
      },
      3000, 20);
  if (!menuWindow) return;
  shown_ = true;
  Sleep(100);
  const auto shown = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  for (int i = 0; i < GetMenuItemCount(shown); ++i) {
    const UINT state = GetMenuState(shown, static_cast<UINT>(i), MF_BYPOSITION);
    greyed_.push_back((state & MF_SEPARATOR) == 0 && (state & MF_GRAYED) != 0);
  }
  if (choose == kNone) {
    PressKey(VK_ESCAPE);
  } else if (input == Input::kKeyboard) {
    for (int i = 0; i < choose; ++i) PressKey(VK_DOWN), Sleep(50);
    PressKey(VK_RETURN);
  } else {
    RECT item = {};
    GetMenuItemRect(nullptr, shown, static_cast<UINT>(choose), &item);
    MovePointer({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }
}

}  // namespace testsupport
