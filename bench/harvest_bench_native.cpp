// The field harvest against an in-memory practice window of 100 and 1000 descendants, in the
// three reading modes: how many calls reach the practice program per harvest (class names,
// control ids, texts) and how long a harvest takes, with WinDev Edit ordinals counted during
// the walk and, for comparison, counted again from the start for every edit window.
#include <chrono>
#include <cstdio>

#include "link/link_state.h"
#include "bench/bench_practice_layout.h"
#include "bench/per_window_harvest.h"
#include "platform/text.h"
#include "reader/harvest.h"
#include "tests/fakes/fake_desktop.h"

namespace {

using namespace corvane;
using bench::BenchLayout;
using bench::BenchMode;

struct Setup {
  fakes::FakeDesktop desktop;
  SharedState state;
};

void Build(const BenchLayout& layout, Setup& setup) {
  const WindowHandle main = setup.desktop.AddTopLevel(layout.mainClass, layout.title);
  std::vector<WindowHandle> made;
  for (const bench::BenchWindow& window : layout.windows) {
    const WindowHandle parent = window.parent < 0 ? main : made[static_cast<std::size_t>(window.parent)];
    made.push_back(setup.desktop.AddChild(parent, window.className, window.id, window.text));
  }
  PortableText text;
  setup.state.practice.className = text.FromAnsi(layout.mainClass);
  setup.state.practice.handle = main;
  for (int n = 1; n <= kFieldCount; ++n) {
    setup.state.settings.SetEntry(n, text.FromAnsi(layout.entries[static_cast<std::size_t>(n - 1)]));
  }
}

int FieldsFound(const PatientRecord& record) {
  int found = 0;
  for (int n = 1; n <= kFieldCount; ++n) found += !record.Value(FieldOfEntry(n)).empty();
  return found;
}

void Measure(BenchMode mode, int descendants, bool perWindow) {
  Setup setup;
  Build(bench::MakeBenchLayout(mode, descendants), setup);
  PortableText text;

  SharedState& state = setup.state;
  auto harvest = [&] {
    if (perWindow) {
      bench::HarvestCountingEachWindow(state.practice.handle, state.settings, state.patient, setup.desktop, text);
    } else {
      HarvestPracticeWindow(state.practice.handle, state.settings, state.practice.className, state.patient,
                            setup.desktop, text);
    }
  };
  setup.desktop.counts = {};
  harvest();
  const fakes::FakeDesktop::Counts once = setup.desktop.counts;
  const int found = FieldsFound(setup.state.patient);

  // Repeat until a fifth of a second has gone, for a steady time per harvest.
  int runs = 0;
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = std::chrono::steady_clock::duration::zero();
  do {
    harvest();
    ++runs;
    elapsed = std::chrono::steady_clock::now() - start;
  } while (elapsed < std::chrono::milliseconds(200));
  const double microseconds = std::chrono::duration<double, std::micro>(elapsed).count() / runs;

  std::printf("%-7s %6d  %-10s %12d %9d %10d %7d %9d %12.1f %7d\n", bench::ModeName(mode), descendants,
              perWindow ? "per-window" : "linear", once.classNameReads,
              once.controlIdReads, once.textReads, once.enumerations, once.visited, microseconds, found);
}

}  // namespace

int main() {
  std::printf("Harvest of an in-memory practice window (calls per harvest, time per harvest)\n");
  std::printf("%-7s %6s  %-10s %12s %9s %10s %7s %9s %12s %7s\n", "mode", "windows", "ordinals", "class reads",
              "id reads", "text reads", "walks", "visited", "us/harvest", "fields");
  for (BenchMode mode : {BenchMode::Plain, BenchMode::Julie, BenchMode::WinDev}) {
    for (int descendants : {100, 1000}) {
      Measure(mode, descendants, false);
      if (mode == BenchMode::WinDev) Measure(mode, descendants, true);
    }
  }
  return 0;
}
