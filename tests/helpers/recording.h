#pragma once
// Reads what the action recorder (tests/helpers/action_recorder.cpp) wrote about the processes
// started from it, and places copies of it where a test needs a program.

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

struct RecordedStart {
  DWORD processId;
  DWORD startupFlags;
  WORD showState;
  std::wstring commandLine;
};

// A fresh record file for one test, named in the environment that started processes inherit;
// deleted again at the end of the test.
class Recording {
 public:
  Recording();
  ~Recording();
  Recording(const Recording&) = delete;
  Recording& operator=(const Recording&) = delete;

  std::vector<RecordedStart> Starts() const;
  // Ids of the processes that wrote their end line.
  std::vector<DWORD> Ends() const;
  // Whether each window that a recorder started with /window showed was visible, in order.
  std::vector<bool> WindowsVisible() const;
  // Waits up to `timeoutMs` until at least `count` processes have recorded their start.
  std::vector<RecordedStart> WaitForStarts(size_t count, DWORD timeoutMs) const;

 private:
  std::vector<std::wstring> Lines() const;
  std::wstring path_;
};

// The recorder beside the running test program.
std::wstring RecorderPath();

// A scratch folder under the prefix's temporary folder, created empty and removed with its files.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // Copies the recorder into the folder under `fileName` and returns the copy's full path.
  std::wstring CopyRecorder(const std::wstring& fileName) const;

 private:
  std::wstring path_;
};

}  // namespace testsupport
