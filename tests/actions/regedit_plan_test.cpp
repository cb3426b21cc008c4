// The keystroke plans and path rules of the Registry Editor navigation, as plain data.
#include <gtest/gtest.h>

#include "actions/regedit_keystrokes.h"

namespace {

using Kind = Keystroke::Kind;

// The plan written out as text: ">" for a right arrow, "|n|" for a pause of n ms, the characters
// themselves, and "'" before each character sent with lParam 1.
std::wstring Spell(const KeystrokePlan& plan) {
  std::wstring text;
  for (const auto& step : plan) {
    switch (step.kind) {
      case Kind::kPause:
        text += L"|" + std::to_wstring(step.code) + L"|";
        break;
      case Kind::kKeyDown:
        EXPECT_EQ(step.lParam, 0);
        text += step.code == VK_RIGHT ? L">" : L"?";
        break;
      case Kind::kChar:
        EXPECT_TRUE(step.lParam == 0 || step.lParam == 1);
        if (step.lParam == 1) text += L"'";
        text += static_cast<wchar_t>(step.code);
        break;
    }
  }
  return text;
}

TEST(AddLeadingBackslash, AddsOneUnlessThereIsOneOrTheTextIsEmpty) {
  EXPECT_EQ(AddLeadingBackslash(L"HKEY_USERS\\x"), L"\\HKEY_USERS\\x");
  EXPECT_EQ(AddLeadingBackslash(L"\\HKEY_USERS"), L"\\HKEY_USERS");
  EXPECT_EQ(AddLeadingBackslash(L"\\\\x"), L"\\\\x");
  EXPECT_EQ(AddLeadingBackslash(L""), L"");
  EXPECT_EQ(AddLeadingBackslash(L" "), L"\\ ");
}

// The recording-window tests check whole sequences and their timing; these are the typing rules
// that those do not reach.
TEST(KeyPathPlan, TypesEveryOtherUnitAsItIsAndEachBackslashAsARightArrow) {
  EXPECT_EQ(Spell(KeyPathPlan(L"x\\\\", EditorKind::kWindows)), L"x>|100|>|100|");
  EXPECT_EQ(Spell(KeyPathPlan(L"{aB-9}_ \u00e9/", EditorKind::kWindows)), L"{aB-9}_ \u00e9/");
  EXPECT_EQ(Spell(KeyPathPlan(L"a\\b", EditorKind::kWine)), L"'a>|500|'b");
  EXPECT_TRUE(KeyPathPlan(L"", EditorKind::kWine).empty());
  EXPECT_GE(kWineSearchLapse, 450u);  // Wine's tree joins characters typed less than 450 ms apart
}

struct MappingCase {
  const wchar_t* keyPath;
  const wchar_t* shown;
};

TEST(EditorKeyPath, UnderWow64MapsMachineSoftwareKeysToTheirWow6432NodePlace) {
  const MappingCase cases[] = {
      {LR"(HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\{A-1})",
       LR"(HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\{A-1})"},
      {LR"(HKEY_LOCAL_MACHINE\SOFTWARE\x)", LR"(HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\x)"},
      {LR"(hkey_local_machine\software\x)", LR"(hkey_local_machine\software\Wow6432Node\x)"},
      {LR"(\HKEY_LOCAL_MACHINE\Software\x)", LR"(\HKEY_LOCAL_MACHINE\Software\Wow6432Node\x)"},
      // Already in the 32-bit view's place, or not below Software\ at all.
      {LR"(HKEY_LOCAL_MACHINE\Software\Wow6432Node\x)", LR"(HKEY_LOCAL_MACHINE\Software\Wow6432Node\x)"},
      {LR"(HKEY_LOCAL_MACHINE\Software\WOW6432NODE)", LR"(HKEY_LOCAL_MACHINE\Software\WOW6432NODE)"},
      {LR"(HKEY_LOCAL_MACHINE\Software\Wow6432Node2\x)",
       LR"(HKEY_LOCAL_MACHINE\Software\Wow6432Node\Wow6432Node2\x)"},
      {LR"(HKEY_LOCAL_MACHINE\Software)", LR"(HKEY_LOCAL_MACHINE\Software)"},
      {LR"(HKEY_LOCAL_MACHINE\SoftwareX\x)", LR"(HKEY_LOCAL_MACHINE\SoftwareX\x)"},
      {LR"(HKEY_LOCAL_MACHINE\System\x)", LR"(HKEY_LOCAL_MACHINE\System\x)"},
      {LR"(HKEY_CURRENT_USER\Software\x)", LR"(HKEY_CURRENT_USER\Software\x)"},
      {LR"(x\HKEY_LOCAL_MACHINE\Software\x)", LR"(x\HKEY_LOCAL_MACHINE\Software\x)"},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EditorKeyPath(c.keyPath, true), c.shown) << testing::PrintToString(std::wstring(c.keyPath));
    EXPECT_EQ(EditorKeyPath(c.keyPath, false), c.keyPath);
  }
}

}  // namespace
