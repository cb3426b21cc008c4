#pragma once
// A context menu driven by hand, as a user would, from another thread while the menu's owner
// runs the menu's own loop: waits for the menu's window to show (in any process), notes which
// items are greyed, then chooses an item with the mouse or the keyboard, or closes the menu with
// Escape.

#include <windows.h>

#include <thread>
#include <vector>

namespace testsupport {

class MenuHand {
 public:
  // Closes the menu with Escape instead of choosing.
  static constexpr int kNone = -1;
  enum class Input { kMouse, kKeyboard };

  // With the mouse, `choose` is the item's position; with the keyboard, the number of presses
  // of the down arrow (which skips separators) before Enter.
  explicit MenuHand(int choose, Input input = Input::kMouse);
  ~MenuHand() { Join(); }
  MenuHand(const MenuHand&) = delete;
  MenuHand& operator=(const MenuHand&) = delete;

  // Whether a menu appeared within three seconds; waits for the hand to finish.
  bool Shown() {
    Join();
    return shown_;
  }
  // Greyed state of each shown item, by position (false for the separator); empty if no menu
  // appeared, or for a menu of another process, whose items only that process can read under
  // Wine.
  std::vector<bool> Greyed() {
    Join();
    return greyed_;
  }

 private:
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  void Run(int choose, Input input);

  bool shown_ = false;
  std::vector<bool> greyed_;
  std::thread thread_;
};

}  // namespace testsupport
