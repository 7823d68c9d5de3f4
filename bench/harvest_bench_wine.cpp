// The field harvest against a real practice window in another process (practice_standin.exe --bench,
// the same tree as the native benchmark) of 100, 1000 and 5000 descendants in the three
// reading modes: the harvest's time against the floor (listing the descendants, alone, with
// ids, with classes) measured in the same rounds, the calls per harvest of each kind, and
// for WinDev the per-window Edit-ordinal count against ours; then the harvest of fourteen fields that
// a practice window draws itself (practice_standin.exe drawn) against one walk of its
// accessibility tree, in the same rounds. Ends with the ratio lines.
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
#include "tests/standins/standin_layout.h"
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

// The fourteen drawn fields: one harvest (one walk of the tree, the fields found in it), and the
// harvest with the check of the handed-off fields that follows it at every click (a second walk).
void MeasureDrawn(int rounds) {
  const std::wstring file = L"C:\\corvane-bench-drawn.txt";
  testing::WriteBytes(file, standin::PatientFile());
  testing::ChildProcess program;
  const standin::Layout layout = standin::LayoutOf(standin::Mode::Drawn);
  Win32Text text;
  const std::wstring className = text.FromAnsi(layout.className), title = text.FromAnsi(layout.title);
  HWND main = program.StartPractice(standin::Mode::Drawn, file)
                  ? testing::WaitForTopLevel(className, program.Id(), &title, std::chrono::seconds(60))
                  : nullptr;
  if (main == nullptr) {
    std::printf("drawn   practice_standin did not start\n");
    return;
  }
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
  LinkSettings settings;
  const std::array<std::string, 17> lines = standin::TechLines(layout);
  for (int entry = 1; entry <= kFieldCount; ++entry) settings.SetEntry(entry, text.FromAnsi(lines[entry - 1]));
  Win32WindowQuery windows;
  Win32Accessibility accessibility;
  PracticeWindow practice{className, title, HandleOf(main)};
  PatientRecord patient;
  std::size_t objects = 0;
  int fields = 0;
  const auto walk = [&] { objects = accessibility.ObjectsOf(HandleOf(main)).objects.size(); };
  const auto harvest = [&] {
    patient.BeginHarvest();
    return HarvestPracticeWindow(practice, settings, patient, windows, accessibility, text);
  };
  const auto click = [&] { HandedOffFieldsUnchanged(harvest(), patient, windows, accessibility, text); };
  std::vector<double> walks, harvests, clicks;
  for (int round = 0; round <= rounds; ++round) {  // the first round warms up and is left out
    walks.push_back(MillisecondsOf(walk));
    harvests.push_back(MillisecondsOf(harvest));
    clicks.push_back(MillisecondsOf(click));
    if (round == 0) walks.clear(), harvests.clear(), clicks.clear();
  }
  for (int n = 1; n <= kFieldCount; ++n) fields += !patient.Value(FieldOfEntry(n)).empty();
  const double walkMs = Median(walks), harvestMs = Median(harvests), clickMs = Median(clicks);
  std::printf("drawn: %zu objects, %d of 14 fields not empty; median ms: tree walk %.2f, harvest %.2f, "
              "harvest and check %.2f\n", objects, fields, walkMs, harvestMs, clickMs);
  std::printf("ratio drawn-harvest 14 %.3f %.3f %.2f\n", harvestMs, walkMs, harvestMs / walkMs);
  std::printf("ratio drawn-harvest-and-check 14 %.3f %.3f %.2f\n", clickMs, walkMs, clickMs / walkMs);
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
  MeasureDrawn(rounds);
  return 0;
}
