// The window as a screen reader sees it, through the system's accessibility interface: the
// windowless controls as children with names, roles, states, places and default actions, and
// the events that announce their changes.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/main_window_fixture.h"
#include "toolkit/form_accessible.h"

namespace testsupport {
namespace {

// One accessibility event as a client's hook receives it.
struct Event {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
};
std::vector<Event> gEvents;
void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  gEvents.push_back({event, window, object, child});
}

class AccessibilityTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    AddEntry(L"1", L"Full Entry",
             {.publisher = L"Zed Pub", .version = L"1.2", .helpLink = L"https://example.org/"});
    AddEntry(L"2", L"Bare Entry");
    AddEntry(L"3", L"Another", {.publisher = L"Acme"});
    Start();
    ASSERT_EQ(AccessibleObjectFromWindow(form_->Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(tree_.Put())),
              S_OK);
    gEvents.clear();
    hook_ = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE, nullptr, OnEvent,
                            GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  }
  void TearDown() override {
    if (hook_) UnhookWinEvent(hook_);
    tree_.Reset();
    MainWindowFixture::TearDown();
    CoUninitialize();
  }

  long Count() const {
    long count = -1;
    EXPECT_EQ(tree_.Get()->get_accChildCount(&count), S_OK);
    return count;
  }
  std::wstring Name(long id) const {
    BSTR name = nullptr;
    if (tree_.Get()->get_accName(ChildVariant(id), &name) != S_OK) return L"(no name)";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
  }
  long Role(long id) const {
    VARIANT role;
    VariantInit(&role);
    EXPECT_EQ(tree_.Get()->get_accRole(ChildVariant(id), &role), S_OK);
    return role.vt == VT_I4 ? role.lVal : -1;
  }
  long State(long id) const {
    VARIANT state;
    VariantInit(&state);
    EXPECT_EQ(tree_.Get()->get_accState(ChildVariant(id), &state), S_OK);
    return state.vt == VT_I4 ? state.lVal : -1;
  }
  RECT Location(long id) const {
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(tree_.Get()->accLocation(&left, &top, &width, &height, ChildVariant(id)), S_OK);
    return {left, top, left + width, top + height};
  }
  bool IsWindowChild(long id) const {
    IDispatch* window = nullptr;
    const HRESULT result = tree_.Get()->get_accChild(ChildVariant(id), &window);
    if (window) window->Release();
    return result == S_OK;
  }
  // The windowless children as "role:name"; child windows as "window".
  std::vector<std::wstring> Tree() const {
    std::vector<std::wstring> children;
    for (long id = 1; id <= Count(); ++id)
      children.push_back(IsWindowChild(id) ? L"window" : std::to_wstring(Role(id)) + L":" + Name(id));
    return children;
  }
  long Find(const std::wstring& name, long role) const {
    for (long id = 1; id <= Count(); ++id)
      if (!IsWindowChild(id) && Role(id) == role && Name(id) == name) return id;
    return 0;
  }
  RECT OnScreen(const TControl& control) const {
    RECT bounds = control.BoundsRect();
    MapWindowPoints(form_->Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
  }
  static std::wstring Item(long role, const std::wstring& name) {
    return std::to_wstring(role) + L":" + name;
  }

  UniqueCom<IAccessible> tree_;
  HWINEVENTHOOK hook_ = nullptr;
};

constexpr long kText = ROLE_SYSTEM_STATICTEXT;
constexpr long kButton = ROLE_SYSTEM_PUSHBUTTON;
constexpr long kHeader = ROLE_SYSTEM_COLUMNHEADER;
constexpr long kLink = ROLE_SYSTEM_LINK;

TEST_F(AccessibilityTest, TheTreeListsTheVisibleControlsInCreationOrderAtTheirPlaces) {
  const std::wstring description = form_->lblProgramsname->Caption();
  EXPECT_EQ(
      Tree(),
      (std::vector<std::wstring>{
          Item(kText, L"Total 3 Softwares"), Item(kButton, L"Uninstall"), Item(kText, description),
          Item(kHeader, L"Programs name"), Item(kHeader, L"Publisher"), Item(kHeader, L"Version"),
          Item(kHeader, L"URL"), Item(kButton, L"All Programs"), Item(kText, L"Programs name"),
          Item(kText, L"Publisher"), Item(kText, L"Version"), Item(kText, L"URL"), Item(kButton, L"Minimise"),
          Item(kButton, L"Close"), Item(kLink, form_->lbl8->Caption()), L"window", L"window"}));
  // Places on the screen are the controls' rectangles.
  const std::pair<long, const TControl*> placed[] = {
      {1, form_->lblNO}, {2, form_->imgbtn2}, {5, form_->img5}, {8, form_->imgbtn4}, {15, form_->lbl8}};
  for (const auto& [id, control] : placed) {
    const RECT seen = Location(id);
    const RECT expected = OnScreen(*control);
    EXPECT_TRUE(EqualRect(&seen, &expected)) << id;
  }
  EXPECT_EQ(State(2), 0);
  EXPECT_EQ(State(15) & STATE_SYSTEM_LINKED, STATE_SYSTEM_LINKED);
  // A point on the Uninstall button is the button; one on the list is the list's window.
  const RECT button = OnScreen(*form_->imgbtn2);
  VARIANT hit;
  ASSERT_EQ(tree_.Get()->accHitTest(button.left + 5, button.top + 5, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, 2);
  const RECT list = OnScreen(*form_->img4);
  ASSERT_EQ(tree_.Get()->accHitTest(list.left + 5, list.bottom + 20, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  hit.pdispVal->Release();
}

TEST_F(AccessibilityTest, TheListAndTheSearchBoxAnswerByIdAndTheFocusIsTold) {
  const long list = Count() - 1;
  const long search = Count();
  ASSERT_TRUE(IsWindowChild(list) && IsWindowChild(search));
  EXPECT_EQ(Role(list), ROLE_SYSTEM_LIST);
  EXPECT_EQ(Name(list), L"Programs");
  EXPECT_EQ(Role(search), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(Name(search), L"Search");
  for (long id = 1; id <= Count(); ++id) EXPECT_GT(Role(id), 0) << id;

  ClickAt(ListEmptySpace());
  VARIANT focus;
  ASSERT_EQ(tree_.Get()->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.vt, VT_I4);
  EXPECT_EQ(focus.lVal, list);
  EXPECT_EQ(State(list) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED),
            STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(State(search) & STATE_SYSTEM_FOCUSED, 0);

  // The search box's value is what was typed there.
  const RECT box = Location(search);
  MovePointer({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  Press();
  Release();
  TypeText(L"bare");
  Pump();
  ASSERT_EQ(tree_.Get()->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.lVal, search);
  EXPECT_EQ(State(search) & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
  BSTR value = nullptr;
  ASSERT_EQ(tree_.Get()->get_accValue(ChildVariant(search), &value), S_OK);
  EXPECT_STREQ(value, L"bare");
  SysFreeString(value);
}

TEST_F(AccessibilityTest, AllProgramsByItsDefaultActionRescansAsAClickDoes) {
  AddEntry(L"4", L"Late Entry");
  const long allPrograms = Find(L"All Programs", kButton);
  ASSERT_GT(allPrograms, 0);
  BSTR action = nullptr;
  ASSERT_EQ(tree_.Get()->get_accDefaultAction(ChildVariant(allPrograms), &action), S_OK);
  EXPECT_STREQ(action, L"Press");
  SysFreeString(action);
  ASSERT_EQ(tree_.Get()->accDoDefaultAction(ChildVariant(allPrograms)), S_OK);
  Pump(200);
  EXPECT_EQ(form_->lv1->RowCount(), 4);
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 4 Softwares");
  EXPECT_EQ(Name(1), L"Total 4 Softwares");
  // Static text has no action to take.
  EXPECT_EQ(tree_.Get()->accDoDefaultAction(ChildVariant(1)), DISP_E_MEMBERNOTFOUND);
}

TEST_F(AccessibilityTest, TheCountsNameFollowsTheLabelAndItsChangeIsAnnounced) {
  form_->edt1->SetText(L"entry");
  Pump();
  EXPECT_EQ(form_->lblNO->Caption(), L"2");
  EXPECT_EQ(Name(1), L"2");
  EXPECT_TRUE(std::any_of(gEvents.begin(), gEvents.end(), [&](const Event& e) {
    return e.event == EVENT_OBJECT_NAMECHANGE && e.window == form_->Handle() && e.object == OBJID_CLIENT &&
           e.child == 1;
  }));
}

TEST_F(AccessibilityTest, TheDetailsPairsComeAndGoWithThePanelAndSayWhenTheyDo) {
  const long before = Count();
  ClickAt(RowPoint(0));
  MoveAway();
  EXPECT_EQ(Count(), before + 6);
  for (const auto& [name, role] :
       std::vector<std::pair<std::wstring, long>>{{L"Version:", kText},
                                                  {L"Publisher:", kText},
                                                  {L"HelpInfo:", kText},
                                                  {L"Zed Pub", kText},
                                                  {L"1.2", kText},
                                                  {L"https://example.org/", kLink}})
    EXPECT_GT(Find(name, role), 0) << testing::PrintToString(name);
  ASSERT_GT(Find(L"Full Entry", kText), 0) << "the first row is the entry with every value";
  const auto shows = std::count_if(gEvents.begin(), gEvents.end(), [](const Event& e) {
    return e.event == EVENT_OBJECT_SHOW && e.object == OBJID_CLIENT;
  });
  EXPECT_EQ(shows, 6);

  gEvents.clear();
  Pump(300);  // no double click with the next one
  const std::vector<std::wstring> captions = Captions();
  const auto bare = std::find(captions.begin(), captions.end(), L"Bare Entry");
  ASSERT_NE(bare, captions.end());
  ClickAt(RowPoint(static_cast<int>(bare - captions.begin())));  // no pairs
  MoveAway();
  EXPECT_EQ(Count(), before);
  EXPECT_EQ(Find(L"Version:", kText), 0);
  const auto hides = std::count_if(gEvents.begin(), gEvents.end(), [](const Event& e) {
    return e.event == EVENT_OBJECT_HIDE && e.object == OBJID_CLIENT;
  });
  EXPECT_EQ(hides, 6);
}

TEST_F(AccessibilityTest, TheHeaderPublisherSortsByItsDefaultAction) {
  const long publisher = Find(L"Publisher", kHeader);
  ASSERT_GT(publisher, 0);
  ASSERT_EQ(tree_.Get()->accDoDefaultAction(ChildVariant(publisher)), S_OK);
  Pump();
  EXPECT_EQ(form_->lastSortColumn, 1);
  std::vector<std::wstring> publishers;
  for (int row = 0; row < form_->lv1->RowCount(); ++row) publishers.push_back(form_->lv1->SubItem(row, 0));
  EXPECT_TRUE(std::is_sorted(publishers.begin(), publishers.end()) ||
              std::is_sorted(publishers.rbegin(), publishers.rend()))
      << testing::PrintToString(publishers);
}

TEST_F(AccessibilityTest, ADisabledButtonIsUnavailableSaysSoAndDoesNotAct) {
  form_->imgbtn4->SetEnabled(false);
  Pump();
  const long allPrograms = Find(L"All Programs", kButton);
  EXPECT_EQ(State(allPrograms) & STATE_SYSTEM_UNAVAILABLE, STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(std::any_of(gEvents.begin(), gEvents.end(), [&](const Event& e) {
    return e.event == EVENT_OBJECT_STATECHANGE && e.child == allPrograms;
  }));
  AddEntry(L"4", L"Late Entry");
  EXPECT_EQ(tree_.Get()->accDoDefaultAction(ChildVariant(allPrograms)), E_FAIL);
  Pump();
  EXPECT_EQ(form_->lv1->RowCount(), 3);
}

TEST_F(AccessibilityTest, AClientThatOutlivesTheWindowIsToldItIsDisconnected) {
  form_.reset();
  long count = 0;
  EXPECT_EQ(tree_.Get()->get_accChildCount(&count), RPC_E_DISCONNECTED);
}

}  // namespace
}  // namespace testsupport
