// The field harvest against a real practice window in another process (practice_standin.exe --bench,
// the same tree as the native benchmark) of 100, 1000 and 5000 descendants in the three
// reading modes: the harvest's time against the floor (listing the descendants, alone, with
// ids, with classes) measured in the same rounds, the calls per harvest of each kind, and
// for WinDev the per-window Edit-ordinal count against ours. Ends with the ratio lines.
//   harvest_bench_wine.exe [rounds, 15 when not given] [--no-per-window-5000]
// CORVANE_BUILD_DIR names the build folder.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/harvest_measure.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_query.h"
#include "tests/support/wine_support.h"

namespace {

using namespace corvane;
using namespace corvane::bench;

bool Measure(BenchMode mode, int descendants, int rounds, bool perWindowAt5000, std::vector<HarvestFigures>& all) {
  const BenchLayout layout = MakeBenchLayout(mode, descendants);
  const char* name = ModeName(mode);
  testing::ChildProcess program(testing::StandinPath(L"practice_standin"),
                                std::wstring(name, name + std::strlen(name)) + L" --bench=" + std::to_wstring(descendants));
  Win32Text text;
  const std::wstring className = text.FromAnsi(layout.mainClass);
  const std::wstring title = text.FromAnsi(layout.title);
  HWND main = testing::WaitForTopLevel(className, program.Id(), &title, std::chrono::seconds(120));
  if (main == nullptr) {
    std::printf("%-7s %6d  practice_standin did not start\n", name, descendants);
    return false;
  }
  // Until it has painted and gone idle, it answers late for reasons of its own.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
  WaitForInputIdle(program.Handle(), 30000);

  // One per-window harvest at 1000 descendants takes seconds, at 5000 minutes (it grows with
  // the square of the edit windows): few runs there.
  const int perWindowRuns = descendants <= 100 ? 5 : descendants <= 1000 ? 3 : perWindowAt5000 ? 1 : 0;
  CountingWindowQuery<Win32WindowQuery> windows;
  const BenchTarget target{mode, descendants, HandleOf(main), className, SettingsOf(layout, text)};
  all.push_back(MeasureHarvest(target, windows, text, rounds, perWindowRuns));
  PrintRow(all.back());
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 15;
  bool perWindowAt5000 = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-per-window-5000") == 0) {
      perWindowAt5000 = false;
    } else if (std::atoi(argv[i]) > 0) {
      rounds = std::atoi(argv[i]);
    }
  }
  PrintHeader("Harvest of a practice window in another process under Wine (calls and time per harvest)");
  std::vector<HarvestFigures> all;
  for (BenchMode mode : {BenchMode::Plain, BenchMode::Julie, BenchMode::WinDev}) {
    for (int descendants : {100, 1000, 5000}) Measure(mode, descendants, rounds, perWindowAt5000, all);
  }
  if (!perWindowAt5000) std::printf("per-window count at 5000 descendants not measured (--no-per-window-5000)\n");
  PrintRatios(all);
  return 0;
}
