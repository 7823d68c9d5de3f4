#pragma once
// The benchmarks' practice window as the stand-in practice program builds it
// (practice_standin.exe MODE --bench=N): the containers tile its main window, the windows of a
// container sit in a column.
#include "bench/bench_practice_layout.h"
#include "tests/standins/standin_layout.h"

namespace corvane::bench {

inline standin::Layout StandinLayout(BenchMode mode, int descendants) {
  const BenchLayout bench = MakeBenchLayout(mode, descendants);
  standin::Layout layout{ModeName(mode), bench.mainClass, bench.title};
  for (std::size_t i = 0; i < bench.windows.size(); ++i) {
    const BenchWindow& w = bench.windows[i];
    const int slot = static_cast<int>(i % kGroupSize), group = static_cast<int>(i / kGroupSize);
    if (w.parent < 0) {
      layout.Add({-1, w.className, w.id, w.text, 8 + group % 6 * 102, 8 + group / 6 % 4 * 110, 98, 104});
    } else {
      layout.Add({w.parent, w.className, w.id, w.text, 4, 4 + (slot - 1) * 11, 90, 10});
    }
  }
  return layout;
}

}  // namespace corvane::bench
