#include "tests/helpers/recording.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {
namespace {

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, buffer);
  return buffer;
}

std::vector<std::wstring> SplitFields(const std::wstring& line, size_t maxFields) {
  std::vector<std::wstring> fields;
  size_t from = 0;
  while (fields.size() + 1 < maxFields) {
    const auto tab = line.find(L'\t', from);
    if (tab == std::wstring::npos) break;
    fields.push_back(line.substr(from, tab - from));
    from = tab + 1;
  }
  fields.push_back(line.substr(from));
  return fields;
}

}  // namespace

Recording::Recording() {
  static int counter = 0;
  path_ = TempFolder() + L"caldwex-record-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter) + L".txt";
  DeleteFileW(path_.c_str());
  SetEnvironmentVariableW(L"CALDWEX_RECORD", path_.c_str());
}

Recording::~Recording() {
  SetEnvironmentVariableW(L"CALDWEX_RECORD", nullptr);
  DeleteFileW(path_.c_str());
}

std::vector<std::wstring> Recording::Lines() const {
  std::ifstream file(std::filesystem::path(path_), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  std::vector<std::wstring> lines;
  size_t from = 0;
  for (auto end = text.find(L'\n'); end != std::wstring::npos; end = text.find(L'\n', from)) {
    lines.push_back(text.substr(from, end - from));
    from = end + 1;
  }
  return lines;
}

std::vector<RecordedStart> Recording::Starts() const {
  std::vector<RecordedStart> starts;
  for (const auto& line : Lines()) {
    const auto fields = SplitFields(line, 5);
    if (fields[0] != L"start" || fields.size() != 5) continue;
    starts.push_back({static_cast<DWORD>(std::stoul(fields[1])), static_cast<DWORD>(std::stoul(fields[2])),
                      static_cast<WORD>(std::stoul(fields[3])), fields[4]});
  }
  return starts;
}

std::vector<DWORD> Recording::Ends() const {
  std::vector<DWORD> ends;
  for (const auto& line : Lines()) {
    const auto fields = SplitFields(line, 2);
    if (fields[0] == L"end" && fields.size() == 2) ends.push_back(static_cast<DWORD>(std::stoul(fields[1])));
  }
  return ends;
}

std::vector<bool> Recording::WindowsVisible() const {
  std::vector<bool> visible;
  for (const auto& line : Lines()) {
    const auto fields = SplitFields(line, 3);
    if (fields[0] == L"window" && fields.size() == 3) visible.push_back(fields[2] == L"1");
  }
  return visible;
}

std::vector<RecordedStart> Recording::WaitForStarts(size_t count, DWORD timeoutMs) const {
  const DWORD begin = GetTickCount();
  auto starts = Starts();
  while (starts.size() < count && GetTickCount() - begin < timeoutMs) {
    Sleep(50);
    starts = Starts();
  }
  return starts;
}

std::wstring RecorderPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return (std::filesystem::path(self).parent_path() / L"action_recorder.exe").wstring();
}

ScratchFolder::ScratchFolder(const std::wstring& name) : path_(TempFolder() + name) {
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::wstring ScratchFolder::CopyRecorder(const std::wstring& fileName) const {
  const std::wstring target = path_ + L"\\" + fileName;
  if (!CopyFileW(RecorderPath().c_str(), target.c_str(), FALSE))
    throw std::runtime_error("cannot copy the recorder");
  return target;
}

}  // namespace testsupport
