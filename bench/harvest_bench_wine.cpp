// The field harvest against a real practice window in another process (practice_standin.exe --bench,
// the same tree as the native benchmark): time per harvest and the calls that reach the
// practice program, for 100 and 1000 descendants in the three reading modes, with WinDev
// Edit ordinals counted during the walk and, for comparison, once per edit window.
//   wine harvest_bench_wine.exe     (CORVANE_BUILD_DIR names the build folder)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "link/link_state.h"
#include "bench/bench_practice_layout.h"
#include "bench/per_window_harvest.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_query.h"
#include "reader/harvest.h"
#include "tests/support/wine_support.h"

namespace {

using namespace corvane;
using bench::BenchLayout;
using bench::BenchMode;

// Win32WindowQuery, counting what reaches the other program.
class CountingWindowQuery : public Win32WindowQuery {
 public:
  int classNameReads = 0, controlIdReads = 0, textReads = 0, walks = 0;
  void Reset() { classNameReads = controlIdReads = textReads = walks = 0; }

  void EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) override {
    ++walks;
    Win32WindowQuery::EnumerateDescendants(parent, visit);
  }
  std::string ClassName(WindowHandle window, std::size_t bufferSize) override {
    ++classNameReads;
    return Win32WindowQuery::ClassName(window, bufferSize);
  }
  std::int32_t ControlId(WindowHandle window) override {
    ++controlIdReads;
    return Win32WindowQuery::ControlId(window);
  }
  TextRead ReadText(WindowHandle window) override {
    ++textReads;
    return Win32WindowQuery::ReadText(window);
  }
};

int FieldsFound(const PatientRecord& record) {
  int found = 0;
  for (int n = 1; n <= kFieldCount; ++n) found += !record.Value(FieldOfEntry(n)).empty();
  return found;
}

void Measure(BenchMode mode, int descendants) {
  const BenchLayout layout = bench::MakeBenchLayout(mode, descendants);
  const std::wstring arguments =
      std::wstring(bench::ModeName(mode), bench::ModeName(mode) + std::strlen(bench::ModeName(mode))) + L" --bench=" +
      std::to_wstring(descendants);
  testing::ChildProcess program(testing::StandinPath(L"practice_standin"), arguments);
  Win32Text text;
  const std::wstring className = text.FromAnsi(layout.mainClass);
  const std::wstring title = text.FromAnsi(layout.title);
  HWND main = testing::WaitForTopLevel(className, program.Id(), &title, std::chrono::seconds(60));
  if (main == nullptr) {
    std::printf("%-7s %6d  practice_standin did not start\n", bench::ModeName(mode), descendants);
    return;
  }

  // Until it has painted and gone idle, it answers late for reasons of its own.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
  program.WaitIdle(30000);

  SharedState state;
  state.practice.className = className;
  state.practice.handle = HandleOf(main);
  for (int n = 1; n <= kFieldCount; ++n)
    state.settings.SetEntry(n, text.FromAnsi(layout.entries[static_cast<std::size_t>(n - 1)]));
  CountingWindowQuery windows;

  const bool windev = mode == BenchMode::WinDev;
  for (bool perWindow : {false, true}) {
    if (perWindow && !windev) break;
    auto harvest = [&] {
      if (perWindow) {
        bench::HarvestCountingEachWindow(state.practice.handle, state.settings, state.patient, windows, text);
      } else {
        HarvestPracticeWindow(state.practice.handle, state.settings, state.practice.className, state.patient, windows,
                              text);
      }
    };
    harvest();  // warm-up: the first walk pays for the caches
    windows.Reset();
    state.patient = PatientRecord();
    const int runs = perWindow ? (descendants > 100 ? 1 : 5) : 15;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      const auto start = std::chrono::steady_clock::now();
      harvest();
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    // The median and the best: the machine is shared, and a harvest slowed by someone else's
    // work says nothing about the harvest.
    std::sort(times.begin(), times.end());
    std::printf("%-7s %6d  %-10s %12d %9d %10d %7d %11.1f %9.1f %7d\n", bench::ModeName(mode), descendants,
                perWindow ? "per-window" : "linear", windows.classNameReads / runs,
                windows.controlIdReads / runs, windows.textReads / runs, windows.walks / runs, times[times.size() / 2],
                times.front(), FieldsFound(state.patient));
  }
}

}  // namespace

int main() {
  std::printf("Harvest of a practice window in another process under Wine (calls and time per harvest)\n");
  std::printf("%-7s %6s  %-10s %12s %9s %10s %7s %11s %9s %7s\n", "mode", "windows", "ordinals", "class reads",
              "id reads", "text reads", "walks", "median ms", "best ms", "fields");
  for (BenchMode mode : {BenchMode::Plain, BenchMode::Julie, BenchMode::WinDev}) {
    for (int descendants : {100, 1000}) Measure(mode, descendants);
  }
  return 0;
}
