// One tracking step of the finder's drag against a practice window of 100, 1000 and 5000
// descendants in another process (practice_standin.exe plain --bench=N): the pointer alternates
// between two windows, so that every step picks anew and moves the frame (two frame drawings).
//   wine finder_bench_wine.exe     (CORVANE_BUILD_DIR names the build folder)
// Over a control, the walk covers its container's windows; over a container, the whole
// practice window's descendants (the pointed window's parent is the practice window).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_practice_layout.h"
#include "finder/finder_drag.h"
#include "link/link_state.h"
#include "platform/win32/win32_platform.h"
#include "reader/normalise.h"
#include "tests/support/wine_support.h"

namespace {

using namespace corvane;

constexpr int kSteps = 200;

// The screen is not there: the drag's requests to it are dropped.
class NoScreen : public FinderView {
 public:
  void HideScreen() override {}
  void ShowScreen() override {}
  void EmptyFinderBox(Field) override {}
  void ShowFinderIcon(Field) override {}
  void SetDragPointer() override {}
  void RestorePointer() override {}
  void ShowPreview(Field, const std::wstring&) override {}
};

struct Timing {
  double median, worst;
};

// `steps` moves alternating between `a` and `b`, each timed.
Timing TimeSteps(FinderDrag& drag, Point a, Point b) {
  std::vector<double> times;
  for (int step = 0; step < kSteps; ++step) {
    const auto start = std::chrono::steady_clock::now();
    drag.Move(step % 2 == 0 ? a : b);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.back()};
}

Point CentreOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}


// The figures for one practice window of `descendants` windows; false when it did not start.
bool Measure(int descendants) {
  testing::ChildProcess program(testing::StandinPath(L"practice_standin"),
                                L"plain --bench=" + std::to_wstring(descendants));
  Win32Text text;
  const bench::BenchLayout layout = bench::MakeBenchLayout(bench::BenchMode::Plain, descendants);
  const std::wstring className = text.FromAnsi(layout.mainClass);
  const std::wstring title = text.FromAnsi(layout.title);
  HWND main = testing::WaitForTopLevel(className, program.Id(), &title, std::chrono::seconds(60));
  if (main == nullptr) {
    std::printf("practice_standin did not start\n");
    return false;
  }
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
  WaitForInputIdle(program.Handle(), 30000);

  // The first container's first two windows, and two containers side by side, pointed at
  // beside their windows.
  HWND first = GetWindow(main, GW_CHILD);
  HWND second = GetWindow(first, GW_HWNDNEXT);
  HWND control = GetWindow(first, GW_CHILD);
  HWND nextControl = GetWindow(control, GW_HWNDNEXT);
  RECT firstRect{}, secondRect{};
  GetWindowRect(first, &firstRect);
  GetWindowRect(second, &secondRect);
  const Point besideFirst{firstRect.right - 2, (firstRect.top + firstRect.bottom) / 2};
  const Point besideSecond{secondRect.right - 2, (secondRect.top + secondRect.bottom) / 2};

  Win32WindowQuery windows;
  Win32Gdi gdi;
  SharedState state;
  NoScreen screen;
  FinderDrag drag(screen, windows, gdi, text, &NormaliseField, state.settings, state.practice, state.finder);
  drag.Start(Field::Nom);
  drag.Move(CentreOf(control));  // warm-up

  const Timing overControls = TimeSteps(drag, CentreOf(control), CentreOf(nextControl));
  const Timing overContainers = TimeSteps(drag, besideFirst, besideSecond);
  std::printf("%11d %14.2f %13.2f %16.2f %15.2f %7.1f\n", descendants, overControls.median, overControls.worst,
              overContainers.median, overContainers.worst, overContainers.median / overControls.median);
  try {
    drag.Drop(besideSecond);  // removes the last frame
  } catch (const LinkError&) {
  }
  return true;
}

}  // namespace

int main() {
  std::printf(
      "One tracking step of the finder's drag under Wine, practice window in another process, %d steps each, "
      "the frame moved at every step (ms; ratio: container median / control median)\n",
      kSteps);
  std::printf("%11s %14s %13s %16s %15s %7s\n", "descendants", "control median", "control worst",
              "container median", "container worst", "ratio");
  for (int descendants : {100, 1000, 5000}) {
    if (!Measure(descendants)) return 1;
  }
  return 0;
}
