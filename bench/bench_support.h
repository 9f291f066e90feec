#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

inline double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

inline std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

// The middle value (the upper of the two middle ones for an even count), which a machine's
// passing load moves less than the mean; 0 for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// The fastest of `rounds` runs of `work`, in seconds.
template <class Work>
double Fastest(int rounds, Work work) {
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    const double start = Seconds();
    work();
    const double took = Seconds() - start;
    if (took < best) best = took;
  }
  return best;
}
