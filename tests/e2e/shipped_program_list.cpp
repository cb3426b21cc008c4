// The shipped program's list and accessible tree, read and driven from this process: messages
// to the list whose data lives in the program's memory, and the window's accessible children.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
// clang-format on

#include <stdexcept>

#include "tests/e2e/remote_memory.h"
#include "tests/e2e/shipped_program.h"
#include "toolkit/form_accessible.h"

namespace testsupport {
namespace {

// The longest cell text read back: a little over a mebibyte of UTF-16.
constexpr size_t kMaxCellLength = 512 * 1024 + 16;

}  // namespace

HWND ShippedProgram::List() const {
  return FindWindowExW(window_, nullptr, WC_LISTVIEWW, nullptr);
}

LRESULT ShippedProgram::ListMessage(UINT message, WPARAM wParam, void* data, size_t size) const {
  const RemoteMemory remote(process_.Get(), size);
  remote.Write(data, size);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(List(), message, wParam, reinterpret_cast<LPARAM>(remote.Address()),
                           SMTO_ABORTIFHUNG, 10000, &result))
    throw std::runtime_error("the list did not answer");
  remote.Read(data, size);
  return static_cast<LRESULT>(result);
}

int ShippedProgram::RowCount() const {
  return ListRowCount(List());
}

std::wstring ShippedProgram::CountText() const {
  const std::vector<std::wstring> names = AccessibleNames();
  return names.empty() ? std::wstring() : names.front();
}

std::wstring ShippedProgram::Cell(int row, int column) const {
  // The item description and the text buffer travel in one block: the description first.
  const size_t bufferSize = sizeof(LVITEMW) + kMaxCellLength * sizeof(wchar_t);
  const RemoteMemory remote(process_.Get(), bufferSize);
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.Address()) + sizeof(LVITEMW));
  item.cchTextMax = static_cast<int>(kMaxCellLength);
  remote.Write(&item, sizeof(item));
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG, 10000, &length))
    throw std::runtime_error("the list did not answer");
  std::wstring text(length, L'\0');
  remote.Read(text.data(), length * sizeof(wchar_t), sizeof(LVITEMW));
  return text;
}

std::vector<std::wstring> ShippedProgram::Names() const {
  std::vector<std::wstring> names;
  const int count = RowCount();
  for (int row = 0; row < count; ++row) names.push_back(Cell(row, 0));
  return names;
}

int ShippedProgram::RowOf(std::wstring_view name) const {
  const std::vector<std::wstring> names = Names();
  for (size_t row = 0; row < names.size(); ++row)
    if (names[row] == name) return static_cast<int>(row);
  return -1;
}

int ShippedProgram::SelectedRow() const {
  DWORD_PTR row = 0;
  SendMessageTimeoutW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED, SMTO_ABORTIFHUNG, 5000,
                      &row);
  return static_cast<int>(static_cast<LRESULT>(row));
}

int ShippedProgram::TopRow() const {
  DWORD_PTR row = 0;
  SendMessageTimeoutW(List(), LVM_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 5000, &row);
  return static_cast<int>(row);
}

void ShippedProgram::ScrollRows(int rows) const {
  const int height = RowPoint(1).y - RowPoint(0).y;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(List(), LVM_SCROLL, 0, rows * height, SMTO_ABORTIFHUNG, 5000, &result);
  Sleep(kInputPause);
}

std::vector<std::wstring> ShippedProgram::AccessibleNames() const {
  UniqueCom<IAccessible> client;
  std::vector<std::wstring> names;
  long count = 0;
  if (FAILED(AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(client.Put()))) ||
      FAILED(client.Get()->get_accChildCount(&count)))
    return names;
  for (long id = 1; id <= count; ++id) {
    BSTR name = nullptr;
    const bool named = client.Get()->get_accName(ChildVariant(id), &name) == S_OK && name;
    names.push_back(named ? std::wstring(name, SysStringLen(name)) : std::wstring());
    SysFreeString(name);
  }
  return names;
}

POINT ShippedProgram::RowPoint(int row) const {
  RECT item = {};
  item.left = LVIR_LABEL;
  ListMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), &item, sizeof(item));
  MapWindowPoints(List(), window_, reinterpret_cast<POINT*>(&item), 2);
  // Left of the centre: a long name's text ends far right, but the row is hit anywhere.
  return {item.left + 40, (item.top + item.bottom) / 2};
}

bool ShippedProgram::SelectRow(int row) const {
  Click(RowPoint(row));
  return WaitUntil([&] { return SelectedRow() == row; }, 3000);
}

}  // namespace testsupport
