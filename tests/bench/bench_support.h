#pragma once
// What the benchmarks share: a synthetic Uninstall key, the floor they are measured against,
// and the median of repeated runs.

#include <functional>
#include <vector>

namespace testsupport {

// Replaces the Uninstall key with `entries` synthetic entries: names of a few kinds (one in ten
// a "Microsoft" one), publisher, version, uninstall command, and an icon reference on every
// other entry.
void FillRegistry(int entries);

// The registry work of a scan alone: the entries read, with no list to fill.
void ReadsOnly();

// The median time of `runs` runs of `work`, in milliseconds.
double MedianMs(const std::function<void()>& work, int runs);
// The median of times already taken.
double Median(std::vector<double> times);

}  // namespace testsupport
