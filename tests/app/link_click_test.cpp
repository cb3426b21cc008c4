// The two link labels open web addresses through the shell, observed by a handler of our own.
#include <gtest/gtest.h>

#include <algorithm>

#include "actions/shell_open.h"
#include "tests/app/main_window_fixture.h"
#include "tests/helpers/shell_handlers.h"

namespace testsupport {
namespace {

class LinkClickTest : public MainWindowFixture {
 protected:
  // Clicks the label at a point inside it, then waits for the shell's handler.
  std::vector<std::wstring> ClickAndCollect(const TLabel& label, size_t expectedStarts) {
    const RECT& bounds = label.BoundsRect();
    ClickAt({bounds.left + 3, (bounds.top + bounds.bottom) / 2});
    if (expectedStarts > 0) recording_.WaitForStarts(expectedStarts, 15000);
    Pump(1500);  // long enough for a start that should not come
    return CommandLines(recording_.Starts());
  }

  Recording recording_;
  OpenHandlerOverride http_{L"http\\shell\\open"};
  OpenHandlerOverride https_{L"https\\shell\\open"};
};

TEST_F(LinkClickTest, PromotionalLinkOpensTheMakersWebSite) {
  Start();
  EXPECT_EQ(ClickAndCollect(*form_->lbl8, 1), std::vector<std::wstring>{HandlerGot(kMakerWebAddress)});
}

TEST_F(LinkClickTest, HelpLinkOpensOnlyWebAddresses) {
  Start();
  // What the details panel shows for a selected entry.
  form_->lblURL->SetVisible(true);
  form_->lblURL->SetCaption(L"C:\\Program Files\\App\\uninst.exe");
  EXPECT_TRUE(ClickAndCollect(*form_->lblURL, 0).empty());

  form_->lblURL->SetCaption(L"https://example.com/help?id=7");
  EXPECT_EQ(ClickAndCollect(*form_->lblURL, 1),
            std::vector<std::wstring>{HandlerGot(L"https://example.com/help?id=7")});
}

}  // namespace
}  // namespace testsupport
