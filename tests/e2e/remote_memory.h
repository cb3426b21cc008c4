#pragma once
// Memory in another process, for messages whose data the receiving window reads and writes there.

#include <windows.h>

#include <cstddef>
#include <stdexcept>

namespace testsupport {

// Memory in another process, released with it.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
    if (!address_) throw std::runtime_error("VirtualAllocEx failed");
  }
  ~RemoteMemory() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  void* Address() const { return address_; }
  void Write(const void* data, size_t size, size_t offset = 0) const {
    if (!WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr))
      throw std::runtime_error("WriteProcessMemory failed");
  }
  void Read(void* data, size_t size, size_t offset = 0) const {
    if (!ReadProcessMemory(process_, static_cast<const char*>(address_) + offset, data, size, nullptr))
      throw std::runtime_error("ReadProcessMemory failed");
  }

 private:
  HANDLE process_;
  void* address_;
};

}  // namespace testsupport
