// One tracking step of the finder's drag against a practice window of 1000 descendants in
// another process (practice_standin.exe plain --bench=1000): the pointer alternates between
// two windows, so that every step picks anew and moves the frame (two frame drawings).
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

constexpr int kDescendants = 1000;
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

}  // namespace

int main() {
  testing::ChildProcess program(testing::StandinPath(L"practice_standin"),
                                L"plain --bench=" + std::to_wstring(kDescendants));
  Win32Text text;
  const bench::BenchLayout layout = bench::MakeBenchLayout(bench::BenchMode::Plain, kDescendants);
  const std::wstring className = text.FromAnsi(layout.mainClass);
  const std::wstring title = text.FromAnsi(layout.title);
  HWND main = testing::WaitForTopLevel(className, program.Id(), &title, std::chrono::seconds(60));
  if (main == nullptr) {
    std::printf("practice_standin did not start\n");
    return 1;
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

  std::printf(
      "One tracking step of the finder's drag under Wine, practice window of %d descendants in another "
      "process, %d steps each, the frame moved at every step\n",
      kDescendants, kSteps);
  std::printf("%-38s %11s %9s\n", "pointer over", "median ms", "worst ms");
  const Timing overControls = TimeSteps(drag, CentreOf(control), CentreOf(nextControl));
  std::printf("%-38s %11.2f %9.2f\n", "a control (walk of its container)", overControls.median, overControls.worst);
  const Timing overContainers = TimeSteps(drag, besideFirst, besideSecond);
  std::printf("%-38s %11.2f %9.2f\n", "a container (walk of all descendants)", overContainers.median,
              overContainers.worst);
  try {
    drag.Drop();  // removes the last frame
  } catch (const LinkError&) {
  }
  return 0;
}
