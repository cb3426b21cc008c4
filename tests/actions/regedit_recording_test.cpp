// GotoRegistryKey against editor windows of our own that record every key message they get, with
// its time: once laid out as Windows' editor (tree and list are direct children of the main
// window), once as Wine's (one level deeper).
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "actions/regedit_navigation.h"
#include "base/unique_handle.h"
#include "tests/support/registry_fixture.h"

namespace {

using testsupport::kBuildRunsUnderWow64;

struct Received {
  HWND window;
  UINT message;
  WPARAM code;
  LPARAM lParam;
  double atMs;
};

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<Received>* g_received = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_KEYDOWN || message == WM_CHAR) && g_received) {
    g_received->push_back({window, message, wParam, lParam, NowMs()});
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterRecordingClass(const wchar_t* name) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

HWND Create(const wchar_t* className, HWND parent) {
  const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
  return CreateWindowExW(0, className, L"", style, 0, 0, 400, 300, parent, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

// The tree and list of the editor's classes, in a top-level window of the editor's class.
class RecordingEditor {
 public:
  enum class Layout { kDirectChildren, kNestedLikeWine };

  RecordingEditor(HWND main, Layout layout) {
    HWND parent = main;
    if (layout == Layout::kNestedLikeWine) {
      children_.push_back(Create(L"msctls_statusbar32", main));
      parent = Create(L"REGEDIT", main);
      children_.push_back(parent);
    }
    tree_ = Create(L"SysTreeView32", parent);
    list_ = Create(L"SysListView32", parent);
    children_.push_back(tree_);
    children_.push_back(list_);
    g_received = &received_;
  }
  ~RecordingEditor() {
    g_received = nullptr;
    for (const HWND child : children_) DestroyWindow(child);
  }
  RecordingEditor(const RecordingEditor&) = delete;
  RecordingEditor& operator=(const RecordingEditor&) = delete;

  // What the windows received, spelled as the plan tests spell plans: "<", ">" and "^" for the
  // left, right and Home keys, the characters themselves ("'" before one with lParam 1), and
  // each gap between two messages in milliseconds (see Gap).
  // " list:" marks the move from the tree to the list.
  std::wstring Spelled() const {
    std::wstring text;
    for (size_t i = 0; i < received_.size(); ++i) {
      const auto& r = received_[i];
      if (r.window != tree_ && r.window != list_) return text + L" [a message to another window]";
      if (i > 0 && r.window != received_[i - 1].window) text += r.window == list_ ? L" list:" : L" tree:";
      if (i > 0) text += Gap(r.atMs - received_[i - 1].atMs);
      if (r.message == WM_KEYDOWN) {
        text += r.lParam != 0        ? L"?"
                : r.code == VK_LEFT  ? L"<"
                : r.code == VK_RIGHT ? L">"
                : r.code == VK_HOME  ? L"^"
                                     : L"?";
      } else {
        if (r.lParam == 1)
          text += L"'";
        else if (r.lParam != 0)
          text += L"?";
        text += static_cast<wchar_t>(r.code);
      }
    }
    return text;
  }

  double ElapsedMs() const { return received_.empty() ? 0 : received_.back().atMs - received_.front().atMs; }

 private:
  // A gap of n (a multiple of 100 ms) to n + 90 ms reads "|n|" (a loaded machine oversleeps by
  // tens of milliseconds); a shorter one than 20 ms reads nothing; any other "|?ms|".
  static std::wstring Gap(double ms) {
    if (ms < 20) return L"";
    const int pauses = static_cast<int>(ms / 100);
    if (pauses > 0 && ms - pauses * 100 < 90) return L"|" + std::to_wstring(pauses * 100) + L"|";
    return L"|?" + std::to_wstring(static_cast<int>(ms)) + L"|";
  }

  std::vector<HWND> children_;
  HWND tree_, list_;
  std::vector<Received> received_;
};

const std::wstring kCollapsed(20, L'<');
const wchar_t kExampleKey[] =
    LR"(HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\App)";

// One top-level window serves all the tests: under Wine on a display without a window manager,
// hiding or destroying a shown top-level window takes two seconds.
class GotoRegistryKeyRecording : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const wchar_t* name :
         {L"RegEdit_RegEdit", L"REGEDIT", L"SysTreeView32", L"SysListView32", L"msctls_statusbar32"}) {
      RegisterRecordingClass(name);
    }
    main_ = Create(L"RegEdit_RegEdit", nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(main_); }

  void SetUp() override {
    ASSERT_EQ(FindWindowW(L"RegEdit_RegEdit", nullptr), main_) << "another Registry Editor is open";
    ShowWindow(main_, SW_RESTORE);
    ASSERT_FALSE(IsZoomed(main_));
  }

  // Runs the navigation against a fresh recording editor and returns what it received.
  std::wstring Navigate(RecordingEditor::Layout layout, const std::wstring& keyPath,
                        const std::wstring& valueName, RegEditTarget target, double* elapsedMs = nullptr) {
    const RecordingEditor editor(main_, layout);
    EXPECT_TRUE(GotoRegistryKey(keyPath, valueName, target));
    EXPECT_TRUE(IsZoomed(main_));
    if (elapsedMs) *elapsedMs = editor.ElapsedMs();
    return editor.Spelled();
  }

  static inline HWND main_ = nullptr;
};

constexpr RegEditTarget kWindows32{EditorKind::kWindows, false};
constexpr auto kDirect = RecordingEditor::Layout::kDirectChildren;
constexpr auto kNested = RecordingEditor::Layout::kNestedLikeWine;

TEST_F(GotoRegistryKeyRecording, WindowsEditorGetsTheSequenceAndPausesOfTheExample) {
  double elapsed = 0;
  EXPECT_EQ(Navigate(kDirect, kExampleKey, L"DisplayName", kWindows32, &elapsed),
            kCollapsed +
                L"|100|>|100|HKEY_LOCAL_MACHINE>|100|Software>|100|Microsoft>|100|Windows>|100|CurrentVersion"
                L">|100|Uninstall>|100|App list:|100|^DISPLAYNAME");
  // Nine pauses of 100 ms in all, never shorter (each is a sleep), and no wait of 200 ms or more
  // beyond them: the 200 ms leave room, on a loaded machine, for nine late wake-ups and the
  // recording window's handling of each key, which take a few milliseconds.
  EXPECT_GE(elapsed, 900);
  EXPECT_LT(elapsed, 1100);
}

TEST_F(GotoRegistryKeyRecording, FindsTreeAndListNestedOneLevelDeeper) {
  EXPECT_EQ(Navigate(kNested, L"HKEY_USERS\\.DEFAULT", L"x", kWindows32),
            kCollapsed + L"|100|>|100|HKEY_USERS>|100|.DEFAULT list:|100|^X");
}

TEST_F(GotoRegistryKeyRecording, WineEditorGetsKeyPressDataAndLongerPausesAfterRightArrows) {
  double elapsed = 0;
  EXPECT_EQ(Navigate(kNested, L"HKEY_USERS\\S-1_x\\{ab}", L"Display_1", {EditorKind::kWine, false}, &elapsed),
            kCollapsed +
                L"|100|>|500|'H'K'E'Y'_'U'S'E'R'S>|500|'S'-'1'_'x>|500|'{'a'b'}"
                L" list:|100|^'D'I'S'P'L'A'Y'_'1");
  // Pauses of 1,700 ms in all; the margin above them is that of the test before.
  EXPECT_GE(elapsed, 1700);
  EXPECT_LT(elapsed, 2000);
}

TEST_F(GotoRegistryKeyRecording, PathStartingWithABackslashGetsNoSecondOne) {
  EXPECT_EQ(Navigate(kDirect, L"\\HKEY_CLASSES_ROOT\\.txt", L"", kWindows32),
            kCollapsed + L"|100|>|100|HKEY_CLASSES_ROOT>|100|.txt list:|100|^");
}

TEST_F(GotoRegistryKeyRecording, EmptyPathSendsOnlyTheLeftArrowsToTheTree) {
  // The pause after the left arrows and the one before the value name follow each other.
  EXPECT_EQ(Navigate(kDirect, L"", L"DisplayName", kWindows32), kCollapsed + L" list:|200|^DISPLAYNAME");
}

TEST_F(GotoRegistryKeyRecording, ValueNameRaisesOnlyAToZ) {
  EXPECT_EQ(Navigate(kDirect, L"", L"a-z_09 \u00e9\u00e8\u00dfQ", kWindows32),
            kCollapsed + L" list:|200|^A-Z_09 \u00e9\u00e8\u00dfQ");
}

TEST_F(GotoRegistryKeyRecording, UnderWow64MachineSoftwareKeysAreTypedAtTheirWow6432NodePlace) {
  const std::wstring tail = L" list:|100|^DISPLAYNAME";
  EXPECT_EQ(
      Navigate(kDirect, L"HKEY_LOCAL_MACHINE\\Software\\App", L"DisplayName", {EditorKind::kWindows, true}),
      kCollapsed + L"|100|>|100|HKEY_LOCAL_MACHINE>|100|Software>|100|Wow6432Node>|100|App" + tail);
  EXPECT_EQ(Navigate(kDirect, L"HKEY_LOCAL_MACHINE\\Software\\App", L"DisplayName", kWindows32),
            kCollapsed + L"|100|>|100|HKEY_LOCAL_MACHINE>|100|Software>|100|App" + tail);
  EXPECT_EQ(
      Navigate(kDirect, L"HKEY_CURRENT_USER\\Software\\App", L"DisplayName", {EditorKind::kWindows, true}),
      kCollapsed + L"|100|>|100|HKEY_CURRENT_USER>|100|Software>|100|App" + tail);
}

// An editor window on a thread of its own that stops answering: at once, or when its tree gets
// its first key.
class UnansweringEditor {
 public:
  enum class Stops { kAtOnce, kAtFirstKey };

  explicit UnansweringEditor(Stops stops) : stops_(stops) {
    RegisterRecordingClass(L"RegEdit_RegEdit");
    RegisterRecordingClass(L"SysTreeView32");
    const UniqueKernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_ = std::thread([this, &ready] { Run(ready.Get()); });
    WaitForSingleObject(ready.Get(), INFINITE);
  }
  ~UnansweringEditor() {
    SetEvent(release_.Get());
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  UnansweringEditor(const UnansweringEditor&) = delete;
  UnansweringEditor& operator=(const UnansweringEditor&) = delete;

  HWND Main() const { return main_; }
  int KeysReceived() const { return keys_; }

 private:
  static LRESULT CALLBACK StallingTreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_KEYDOWN) return DefWindowProcW(window, message, wParam, lParam);
    ++current_->keys_;
    WaitForSingleObject(current_->release_.Get(), INFINITE);
    return 0;
  }

  void Run(HANDLE ready) {
    threadId_ = GetCurrentThreadId();
    main_ = Create(L"RegEdit_RegEdit", nullptr);
    const HWND tree = Create(L"SysTreeView32", main_);
    current_ = this;
    SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StallingTreeProc));
    SetEvent(ready);
    if (stops_ == Stops::kAtOnce) {
      WaitForSingleObject(release_.Get(), INFINITE);
    } else {
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    }
    DestroyWindow(main_);
  }

  static inline UnansweringEditor* current_ = nullptr;
  const Stops stops_;
  const UniqueKernelHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::thread thread_;
  DWORD threadId_ = 0;
  HWND main_ = nullptr;
  int keys_ = 0;
};

TEST(GotoRegistryKeyBounds, GivesUpOnAnEditorThatDoesNotAnswer) {
  for (const auto stops : {UnansweringEditor::Stops::kAtOnce, UnansweringEditor::Stops::kAtFirstKey}) {
    const UnansweringEditor editor(stops);
    ASSERT_EQ(FindWindowW(L"RegEdit_RegEdit", nullptr), editor.Main());
    const DWORD start = GetTickCount();
    EXPECT_FALSE(GotoRegistryKey(L"HKEY_USERS", L"x", kWindows32));
    const DWORD waited = GetTickCount() - start;
    // One bounded wait, not one per key or an unbounded one: the tick count's granularity below
    // it, and 1.5 s above it for the editor's start and a loaded machine.
    EXPECT_GE(waited, kEditorAnswerLimit - 20);
    EXPECT_LT(waited, kEditorAnswerLimit + 1500);
    // Nothing more is sent once the editor has stopped answering.
    EXPECT_EQ(editor.KeysReceived(), stops == UnansweringEditor::Stops::kAtOnce ? 0 : 1);
  }
}

TEST(CurrentRegEditTarget, SeesWineInTheTestPrefix) {
  EXPECT_EQ(CurrentRegEditTarget().editor, EditorKind::kWine);
}

TEST(CurrentRegEditTarget, SeesWow64InA32BitProgramOnA64BitPrefix) {
  if (!kBuildRunsUnderWow64) GTEST_SKIP() << "a 64-bit program gets no WOW64 redirection";
  EXPECT_TRUE(CurrentRegEditTarget().wow64);
}

TEST(CurrentRegEditTarget, SeesNoWow64InA64BitProgram) {
  if (kBuildRunsUnderWow64) GTEST_SKIP() << "only a 64-bit program reads the registry unredirected";
  EXPECT_FALSE(CurrentRegEditTarget().wow64);
}

}  // namespace
