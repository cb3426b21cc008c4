#include "tests/support/process_memory.h"

#include <psapi.h>

namespace testsupport {

TProcessMemory ProcessMemory(HANDLE process) {
  TProcessMemory memory;
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(process, &counters, sizeof(counters))) memory.workingSet = counters.WorkingSetSize;
  MEMORY_BASIC_INFORMATION region = {};
  for (const char* address = nullptr;
       VirtualQueryEx(process, address, &region, sizeof(region)) == sizeof(region);
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) memory.privateBytes += region.RegionSize;
    if (region.RegionSize == 0) break;
  }
  return memory;
}

}  // namespace testsupport
