#pragma once
// What the benchmarks share: a synthetic Uninstall key, the floor they are measured against,
// and the median of repeated runs.

#include <chrono>
#include <functional>
#include <vector>

namespace testsupport {

// Replaces the Uninstall key with `entries` synthetic entries: names of a few kinds (one in ten
// a "Microsoft" one), publisher, version, uninstall command, and an icon reference on every
// other entry.
void FillRegistry(int entries);

// The registry work of a scan alone: the entries read, with no list to fill.
void ReadsOnly();

// What the benchmarks in the real window start with: the application initialised and the
// Uninstall key filled with `entries` synthetic entries. Returns the floor of the run, the
// median of three scans' registry reads alone, in milliseconds.
double PrepareWindowBench(int entries);

// The median time of `runs` runs of `work`, in milliseconds.
double MedianMs(const std::function<void()>& work, int runs);
// The median of times already taken.
double Median(std::vector<double> times);
// The milliseconds since `start`.
double MsSince(std::chrono::steady_clock::time_point start);

}  // namespace testsupport
