#pragma once
// A process's memory as the system reports it: its working set, and its private bytes counted
// region by region, since Wine reports no private usage in the process counters (always 0).

#include <windows.h>

namespace testsupport {

struct TProcessMemory {
  SIZE_T workingSet = 0;
  SIZE_T privateBytes = 0;  // committed memory of the process's own (not mapped, not image) regions
};

// Of any process opened with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ; of this one by default.
TProcessMemory ProcessMemory(HANDLE process = GetCurrentProcess());

inline double Megabytes(SIZE_T bytes) {
  return static_cast<double>(bytes) / 1048576.0;
}

}  // namespace testsupport
