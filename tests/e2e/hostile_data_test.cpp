// Registry data that no sane installer writes, and uninstall commands that fail, against the
// shipped program: it reports what it cannot read in its error box and goes on, shows any text
// as stored, and survives a failing or missing uninstaller.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "catalogue/softwarelist.h"
#include "catalogue/uninstall_entries.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/shipped_program.h"
#include "tests/helpers/recording.h"
#include "tests/support/process_memory.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/user_input.h"

namespace testsupport {
namespace {

using HostileDataTest = ShippedProgramTest;

constexpr const wchar_t* kTextValues[] = {L"DisplayName",  L"Publisher",       L"DisplayVersion",
                                          L"URLInfoAbout", L"UninstallString", L"DisplayIcon"};

// An entry whose `valueName` holds data of `type`; its other values are plain.
void AddBadEntry(const std::wstring& valueName, DWORD type) {
  const UniqueRegKey key = CreateEntryKey(L"Bad");
  if (valueName != L"DisplayName") SetText(key.Get(), L"DisplayName", L"Bad");
  SetRaw(key.Get(), valueName, type,
         type == REG_QWORD ? std::vector<BYTE>(8, 1) : std::vector<BYTE>{1, 0, 0, 0});
}

// Keys {00000}, {00001}, ... named "Entry 00000", ..., from `first` on; every other one with an
// icon reference. Returns the characters of text that the program keeps for them: the names, the
// key paths, the icon references.
size_t AddNumberedEntries(int count, int first = 0) {
  size_t characters = 0;
  for (int i = first; i < first + count; ++i) {
    wchar_t number[8];
    swprintf(number, 8, L"%05d", i);
    const std::wstring keyName = L"{" + std::wstring(number) + L"}";
    const std::wstring name = L"Entry " + std::wstring(number);
    const std::wstring icon = i % 2 == 0 ? L"C:\\windows\\notepad.exe,0" : L"";
    AddEntry(keyName, name, {.icon = icon});
    characters += name.size() + icon.size() + std::wstring(kUninstallKeyRoot).size() +
                  std::wstring(kUninstallKey).size() + 1 + keyName.size();
  }
  return characters;
}

std::wstring NumberedName(int i) {
  wchar_t name[16];
  swprintf(name, 16, L"Entry %05d", i);
  return name;
}

// Waits for the program's error box, checks its text and closes it with its button.
void ExpectErrorBox(const ShippedProgram& program, const std::wstring& text) {
  const HWND box = program.WaitForDialog(10000);
  ASSERT_NE(box, nullptr) << "no error box for " << testing::PrintToString(text);
  EXPECT_EQ(ShippedProgram::DialogText(box), text);
  EXPECT_EQ(WindowText(box), L"Caldwex Uninstaller");
  ASSERT_TRUE(ShippedProgram::PressButton(box, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return program.Dialogs().empty(); }, 5000)) << "the error box stayed";
}

TEST_F(HostileDataTest, AWrongTypeOfAnyValueShowsTheErrorBoxAndTheProgramAnswersTheNextClick) {
  AddEntry(L"Good", L"Good One");
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  ASSERT_EQ(program.Names(), std::vector<std::wstring>{L"Good One"});
  const DWORD types[] = {REG_DWORD, REG_BINARY, REG_MULTI_SZ, REG_QWORD, REG_NONE, REG_DWORD_BIG_ENDIAN};
  for (size_t i = 0; i < std::size(kTextValues); ++i) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(kTextValues[i])));
    AddBadEntry(kTextValues[i], types[i]);
    program.ClickControl("imgbtn4");  // All Programs: the rescan meets the bad value
    ExpectErrorBox(program, L"Invalid data type for '" + std::wstring(kTextValues[i]) + L"'");
    // The entries enumerated before the bad one stay; "Bad" comes before "Good".
    EXPECT_EQ(program.RowCount(), 0);
    DeleteEntry(L"Bad");
    program.ClickControl("imgbtn4");
    EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 1; }, 5000))
        << "the next click was not answered";
    EXPECT_TRUE(program.Dialogs().empty());
  }
  ASSERT_TRUE(program.Running());
}

TEST_F(HostileDataTest, AWrongTypeAtStartShowsTheErrorBoxAndTheWindowStays) {
  AddEntry(L"Good", L"Good One");
  AddBadEntry(L"Publisher", REG_DWORD);
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  ExpectErrorBox(program, L"Invalid data type for 'Publisher'");
  // The scan runs as the window is shown; the window appears once the box is closed.
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.Window()) != FALSE; }, 5000));
  DeleteEntry(L"Bad");
  program.ClickControl("imgbtn4");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 1; }, 5000));
  EXPECT_EQ(program.Names(), std::vector<std::wstring>{L"Good One"});
}

TEST_F(HostileDataTest, NamesWithControlCharactersLoneSurrogatesAndDirectionMarksAreShownAsStored) {
  const std::vector<std::wstring> names = {
      L"Tab\there, bell\a, escape\x1b",
      L"Line\r\nbreak and\nnewline",
      std::wstring(L"lone high \xD800 surrogate"),
      std::wstring(L"lone low \xDC00 surrogate"),
      L"\x202Egnp.exe right-to-left override",
      L"mark\x200F\x200E and isolate \x2067x\x2069",
  };
  for (size_t i = 0; i < names.size(); ++i) AddEntry(L"Odd" + std::to_wstring(i), names[i]);
  const std::wstring huge(512 * 1024 - 1, L'p');  // with its NUL, exactly 1 MiB
  AddEntry(L"Huge", L"Huge publisher", {.publisher = huge});
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  EXPECT_TRUE(program.Dialogs().empty());
  std::vector<std::wstring> shown = program.Names();
  std::vector<std::wstring> expected = names;
  expected.push_back(L"Huge publisher");
  std::sort(shown.begin(), shown.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(shown, expected);
  const int hugeRow = program.RowOf(L"Huge publisher");
  ASSERT_GE(hugeRow, 0);
  EXPECT_EQ(program.Cell(hugeRow, kSubPublisher + 1), huge);

  // Every row's details, the huge one's too, with no error and no hang.
  for (int row = 0; row < program.RowCount(); ++row) {
    EXPECT_TRUE(program.SelectRow(row)) << "row " << row;
    EXPECT_TRUE(program.Answers(5000)) << "row " << row;
  }
  KeepScreenshot(program.Window(), "e2e_odd_names");
  EXPECT_TRUE(program.Dialogs().empty());

  program.TypeIntoSearch(L"lone");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 2; }, 3000)) << program.RowCount() << " rows";
  EXPECT_TRUE(program.Running());
}

TEST_F(HostileDataTest, AFailingUninstallerAndACommandThatPointsNowhereLeaveTheProgramRunning) {
  const Recording recording;
  const ScratchFolder folder(L"caldwex-e2e-failing");
  AddEntry(L"Failing", L"Failing uninstaller",
           {.uninstall = L"\"" + folder.CopyRecorder(L"uninst.exe") + L"\" /exit:7"});
  AddEntry(L"Nowhere", L"Uninstaller nowhere",
           {.uninstall = L"C:\\nowhere\\at all\\missing-uninstaller.exe /S"});
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  ASSERT_EQ(program.RowCount(), 2);

  // A double click runs the row's uninstaller; it fails with its exit code, the entry stays.
  program.DoubleClick(program.RowPoint(program.RowOf(L"Failing uninstaller")));
  EXPECT_EQ(recording.WaitForStarts(1, 10000).size(), 1u) << "the uninstaller did not run";
  EXPECT_TRUE(WaitUntil([&] { return recording.Ends().size() == 1; }, 10000));
  EXPECT_TRUE(program.Answers(5000));
  EXPECT_EQ(program.WaitForDialog(1000), nullptr);
  EXPECT_EQ(program.RowCount(), 2);

  // A command naming no program starts nothing; the program goes on as before.
  ASSERT_TRUE(program.SelectRow(program.RowOf(L"Uninstaller nowhere")));
  program.ClickControl("imgbtn2");
  EXPECT_TRUE(program.Answers(5000));
  EXPECT_EQ(program.WaitForDialog(1000), nullptr);
  EXPECT_EQ(program.RowCount(), 2);
  EXPECT_EQ(recording.Starts().size(), 1u);
  program.TypeIntoSearch(L"nowhere");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 1; }, 3000)) << "the next input was not answered";
}

// What a row may hold in the program's memory besides its texts: the row's record and strings,
// the snapshot's record and joined text, the list view's item and its sub-items, and the heap's
// own bookkeeping for each block; all of it pointers and headers that are twice the size in the
// 64-bit build. (Measured under Wine 8, from 10,000 to 20,000 rows of 100 characters each: 1.9 KB
// a row in the x86_64 build, besides the texts and images; the i686 build takes less.) A second
// copy of the rows, or of the list's items, would add about as much again.
constexpr size_t kBytesPerRow = sizeof(void*) == 4 ? 1536 : 2048;
// What an image of the 20 x 20 entry icon list takes: 32-bit colour, the mask, its alpha flag.
constexpr size_t kBytesPerImage = 20 * 20 * 4 + 20 * 20 / 8 + 1;
// Growth that no entry explains, between two figures of one or two programs: one step of the
// image list's reserve (a quarter of the images it holds at most), and 2 MB of allocator slack.
// Both are the same on any host: what the host adds (its libraries, fonts, the shell's icon
// cache loaded at the first icon) comes once, with the first entries, and is in both figures.
constexpr size_t Slack(size_t imagesHeld) {
  return imagesHeld / 4 * kBytesPerImage + (2u << 20);
}

// Private bytes of the shipped program once it has scanned and shown `entries` rows.
TProcessMemory MemoryWithRows(int entries) {
  // The scan runs before the window shows; 20,000 entries take the i686 build about 15 s.
  ShippedProgram program(TScale{}, 120000);
  EXPECT_TRUE(program.Started());
  EXPECT_TRUE(program.Dialogs().empty());
  EXPECT_EQ(program.RowCount(), entries);
  return program.Memory();
}

// The growth from 10,000 to 20,000 entries is bounded by what the second 10,000 explain, so a
// second copy of the rows or a doubled reserve shows, while the host's own base cancels out.
TEST_F(HostileDataTest, TwentyThousandEntriesAreAllShownWithinTheMemoryTheyExplain) {
  constexpr int kHalf = 10000;
  constexpr int kEntries = 2 * kHalf;
  AddNumberedEntries(kHalf);
  const TProcessMemory half = MemoryWithRows(kHalf);
  ASSERT_GT(half.privateBytes, 0u);
  const size_t characters = AddNumberedEntries(kHalf, kHalf);

  ShippedProgram program(TScale{}, 120000);
  ASSERT_TRUE(program.Started());
  EXPECT_TRUE(program.Dialogs().empty());
  ASSERT_EQ(program.RowCount(), kEntries);
  for (const int row : {0, 1, 9999, kEntries - 1}) EXPECT_EQ(program.Cell(row, 0), NumberedName(row));
  const TProcessMemory scanned = program.Memory();
  // Read after the memory: asking the window's accessible object loads the system's COM and
  // accessibility libraries into the program.
  EXPECT_EQ(program.CountText(), L"Total 20000 Softwares");

  // Texts are held twice (the rows and the search snapshot), as UTF-16; every other row has an
  // image.
  const size_t explained =
      2 * characters * sizeof(wchar_t) + kHalf * kBytesPerRow + (kHalf / 2) * kBytesPerImage;
  EXPECT_LE(scanned.privateBytes, half.privateBytes + explained + Slack(kEntries / 2 + 1))
      << "private bytes " << Megabytes(half.privateBytes) << " MB with " << kHalf << " entries, "
      << Megabytes(scanned.privateBytes) << " MB with " << kEntries << "; the second " << kHalf << " explain "
      << Megabytes(explained) << " MB";

  // A rescan rebuilds the rows and appends an image per iconed row. The first one may also raise
  // the heap's high-water mark (what a scan frees stays committed, for the next one to reuse), so
  // what stays is measured over a second rescan: nothing but its images.
  ASSERT_TRUE(program.RunLongCommand("imgbtn4", 120000));
  const TProcessMemory rescanned = program.Memory();
  ASSERT_TRUE(program.RunLongCommand("imgbtn4", 120000));
  EXPECT_TRUE(program.Dialogs().empty());
  EXPECT_EQ(program.RowCount(), kEntries);
  const TProcessMemory rescannedAgain = program.Memory();
  const size_t rescanExplained = (kEntries / 2) * kBytesPerImage;
  EXPECT_LE(rescannedAgain.privateBytes,
            rescanned.privateBytes + rescanExplained + Slack(3 * kEntries / 2 + 1))
      << "private bytes " << Megabytes(rescanned.privateBytes) << " MB after a rescan, "
      << Megabytes(rescannedAgain.privateBytes) << " MB after the next; its images explain "
      << Megabytes(rescanExplained) << " MB";
  std::printf(
      "private bytes: %.1f MB with %d entries, %.1f MB with %d (the second %d explain %.1f MB), "
      "%.1f and %.1f MB after two rescans; working set %.1f, %.1f, %.1f MB\n",
      Megabytes(half.privateBytes), kHalf, Megabytes(scanned.privateBytes), kEntries, kHalf,
      Megabytes(explained), Megabytes(rescanned.privateBytes), Megabytes(rescannedAgain.privateBytes),
      Megabytes(half.workingSet), Megabytes(scanned.workingSet), Megabytes(rescannedAgain.workingSet));

  // The program answers the next click and the next keystrokes.
  ASSERT_TRUE(program.SelectRow(5));
  program.TypeIntoSearch(L"Entry 1999");  // Entry 19990 to Entry 19999
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 10; }, 10000)) << program.RowCount() << " rows";
  EXPECT_EQ(program.CountText(), L"10");
}

TEST_F(HostileDataTest, KeyNamesOfTheRegistrysMaximumLengthAreShownWithTheirFullKeyPaths) {
  const std::vector<std::wstring> keys = {
      std::wstring(255, L'k'),
      (L"{Product \x00DC\x00F1\x00EF\x00E7\x00F8d\x00E9 " + std::wstring(255, L'x')).substr(0, 255),
      std::wstring(254, L' ') + L"z",
  };
  for (size_t i = 0; i < keys.size(); ++i) {
    ASSERT_EQ(keys[i].size(), 255u);
    AddEntry(keys[i], L"Long key " + std::to_wstring(i));
  }
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  EXPECT_TRUE(program.Dialogs().empty());
  ASSERT_EQ(program.RowCount(), 3);
  for (size_t i = 0; i < keys.size(); ++i) {
    SCOPED_TRACE(i);
    const int row = program.RowOf(L"Long key " + std::to_wstring(i));
    ASSERT_GE(row, 0);
    EXPECT_EQ(program.Cell(row, kSubKeyPath + 1),
              std::wstring(kUninstallKeyRoot) + kUninstallKey + L"\\" + keys[i]);
    EXPECT_TRUE(program.SelectRow(row));
  }
  program.ClickControl("imgbtn4");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 3; }, 5000));
  EXPECT_TRUE(program.Dialogs().empty());
  EXPECT_TRUE(program.Running());
}

TEST_F(HostileDataTest, SubkeysDeletedWhileARescanRunsLeaveTheProgramAnswering) {
  constexpr int kEntries = 3000;
  constexpr int kDeleted = 300;
  AddNumberedEntries(kEntries);
  ShippedProgram program(TScale{}, 60000);
  ASSERT_TRUE(program.Started());
  ASSERT_EQ(program.RowCount(), kEntries);

  // Every tenth entry is deleted, from the last back, while the program is rescanning: ahead of
  // the scan, behind it, and under it.
  std::atomic<DWORD> firstDeletion = 0;
  std::atomic<DWORD> lastDeletion = 0;
  const DWORD clicked = GetTickCount();
  program.ClickControl("imgbtn4");
  ASSERT_TRUE(program.BusyWithin(10000)) << "the rescan did not begin";
  std::thread deleter([&] {
    firstDeletion = GetTickCount();
    for (int i = kEntries - 1; i >= 0; i -= kEntries / kDeleted) {
      wchar_t keyName[16];
      swprintf(keyName, 16, L"{%05d}", i);
      DeleteEntry(keyName);
    }
    lastDeletion = GetTickCount();
  });
  const bool answered = program.Answers(60000);
  const DWORD answeredAt = GetTickCount();
  deleter.join();
  ASSERT_TRUE(answered);
  EXPECT_LT(firstDeletion.load(), answeredAt) << "the rescan ended before the first deletion";

  // The rescan shows what it could read, or the error of a key gone under it.
  if (const HWND box = program.WaitForDialog(1000)) {
    EXPECT_EQ(WindowText(box), L"Caldwex Uninstaller");
    EXPECT_FALSE(ShippedProgram::DialogText(box).empty());
    ASSERT_TRUE(ShippedProgram::PressButton(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return program.Dialogs().empty(); }, 5000));
  } else {
    // The scan walks the subkeys by index. A deletion ahead of it loses the deleted entry; one at
    // or behind its place moves every later subkey down by one, so that the scan also steps over
    // an entry that is still there. Each deletion thus costs at most two rows of this scan.
    EXPECT_GE(program.RowCount(), kEntries - 2 * kDeleted);
    EXPECT_LE(program.RowCount(), kEntries);
  }
  std::printf("deletions from %lu to %lu ms after the click, the rescan answered at %lu ms; %d rows\n",
              firstDeletion.load() - clicked, lastDeletion.load() - clicked, answeredAt - clicked,
              program.RowCount());

  // The next click is answered, over what is left.
  program.ClickControl("imgbtn4");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == kEntries - kDeleted; }, 60000))
      << program.RowCount() << " rows";
  EXPECT_TRUE(program.Dialogs().empty());
  EXPECT_TRUE(program.Running());
}

}  // namespace
}  // namespace testsupport
