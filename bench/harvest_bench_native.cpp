// The field harvest against an in-memory practice window (bench_practice's tree) of 100, 1000
// and 5000 descendants, in the three reading modes: the calls that would reach the practice
// program per harvest and the time of a harvest against the time of listing the descendants,
// with WinDev Edit ordinals counted during the walk and, for comparison, counted again from
// the start for every edit window. The in-memory calls cost next to nothing, so the times
// here weigh the harvest's own work; harvest_bench_wine weighs the calls.
#include <cstdio>
#include <vector>

#include "bench/harvest_measure.h"
#include "tests/fakes/fake_desktop.h"

namespace {

using namespace corvane;
using namespace corvane::bench;

HarvestFigures Measure(BenchMode mode, int descendants) {
  const BenchLayout layout = MakeBenchLayout(mode, descendants);
  CountingWindowQuery<fakes::FakeDesktop> desktop;
  const WindowHandle main = desktop.AddTopLevel(layout.mainClass, layout.title);
  std::vector<WindowHandle> made;
  for (const BenchWindow& window : layout.windows) {
    const WindowHandle parent = window.parent < 0 ? main : made[static_cast<std::size_t>(window.parent)];
    made.push_back(desktop.AddChild(parent, window.className, window.id, window.text));
  }
  PortableText text;
  const BenchTarget target{mode, descendants, main, text.FromAnsi(layout.mainClass), SettingsOf(layout, text)};
  return MeasureHarvest(target, desktop, text, 101, descendants > 1000 ? 3 : 11);
}

}  // namespace

int main() {
  PrintHeader("Harvest of an in-memory practice window (calls and time per harvest)");
  std::vector<HarvestFigures> all;
  for (BenchMode mode : {BenchMode::Plain, BenchMode::Julie, BenchMode::WinDev}) {
    for (int descendants : {100, 1000, 5000}) {
      all.push_back(Measure(mode, descendants));
      PrintRow(all.back());
    }
  }
  PrintRatios(all);
  return 0;
}
