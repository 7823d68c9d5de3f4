#pragma once
// What both harvest benchmarks measure and print, the native one against the in-memory
// desktop and the Wine one against a program in another process: for one practice window,
// the floor (listing its descendants, alone, with each one's control id, with each one's
// class) and the harvest, timed in the same rounds so that a machine slowed by others slows
// all of them alike; the calls of each kind per harvest; and, for WinDev, the harvest that
// counts every edit window's ordinal from the start. Portable: no <windows.h>.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_practice_layout.h"
#include "bench/per_window_harvest.h"
#include "platform/text.h"
#include "reader/harvest.h"

namespace corvane::bench {

struct CallCounts {
  int walks = 0, classNames = 0, controlIds = 0, texts = 0, parents = 0, firstChildren = 0;
  int Total() const { return classNames + controlIds + texts + parents + firstChildren; }
};

// A window query that counts the calls that reach the practice program.
template <class Base>
class CountingWindowQuery : public Base {
 public:
  CallCounts calls;

  void EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) override {
    ++calls.walks;
    Base::EnumerateDescendants(parent, visit);
  }
  std::string ClassName(WindowHandle window, std::size_t bufferSize = 256) override {
    ++calls.classNames;
    return Base::ClassName(window, bufferSize);
  }
  std::int32_t ControlId(WindowHandle window) override {
    ++calls.controlIds;
    return Base::ControlId(window);
  }
  TextRead ReadText(WindowHandle window) override {
    ++calls.texts;
    return Base::ReadText(window);
  }
  WindowHandle Ancestor(WindowHandle window, AncestorKind kind) override {
    ++calls.parents;
    return Base::Ancestor(window, kind);
  }
  WindowHandle FirstChild(WindowHandle window) override {
    ++calls.firstChildren;
    return Base::FirstChild(window);
  }
};

// The practice window to read and how it is configured.
struct BenchTarget {
  BenchMode mode;
  int descendants;
  WindowHandle main;
  std::wstring practiceClass;
  LinkSettings settings;
};

struct HarvestFigures {
  BenchMode mode = BenchMode::Plain;
  int descendants = 0;
  int rounds = 0;
  double listMs = 0, idsMs = 0, classesMs = 0, harvestMs = 0;  // medians
  CallCounts calls;
  int fields = 0;
  int perWindowRuns = 0;  // 0: not measured
  double perWindowMs = 0;
  CallCounts perWindowCalls;
};

inline LinkSettings SettingsOf(const BenchLayout& layout, const TextPlatform& text) {
  LinkSettings settings;
  for (int n = 1; n <= kFieldCount; ++n)
    settings.SetEntry(n, text.FromAnsi(layout.entries[static_cast<std::size_t>(n - 1)]));
  return settings;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <class Action>
double MillisecondsOf(Action&& action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The benchmarks' entries name windows only: no drawn field is asked for.
class NoDrawnFields : public AccessibilityQuery {
 public:
  AccessibleRead ObjectsOf(WindowHandle) override { return {}; }
};

// `rounds` rounds of listing, listing with ids, listing with classes and harvest, after one
// of each to warm the caches; then `perWindowRuns` runs of the per-window count (WinDev).
template <class Base>
HarvestFigures MeasureHarvest(const BenchTarget& target, CountingWindowQuery<Base>& windows, const TextPlatform& text,
                              int rounds, int perWindowRuns) {
  HarvestFigures figures;
  figures.mode = target.mode;
  figures.descendants = target.descendants;
  figures.rounds = rounds;
  PatientRecord patient;
  int sink = 0;  // so that no read is optimised away
  auto list = [&] { windows.EnumerateDescendants(target.main, [&](WindowHandle) { return ++sink != 0; }); };
  auto listIds = [&] {
    windows.EnumerateDescendants(target.main, [&](WindowHandle w) { return (sink += windows.ControlId(w)) != -1; });
  };
  auto listClasses = [&] {
    windows.EnumerateDescendants(target.main, [&](WindowHandle w) {
      sink += static_cast<int>(windows.ClassName(w).size());
      return true;
    });
  };
  auto harvest = [&] {
    patient.BeginHarvest();
    PracticeWindow practice{target.practiceClass, L"", target.main};
    NoDrawnFields none;
    HarvestPracticeWindow(practice, target.settings, patient, windows, none, text);
    patient.CompleteHarvest();
  };

  list(), listIds(), listClasses();
  windows.calls = {};
  harvest();
  figures.calls = windows.calls;
  for (int n = 1; n <= kFieldCount; ++n) figures.fields += !patient.Value(FieldOfEntry(n)).empty();

  std::vector<double> listTimes, idTimes, classTimes, harvestTimes;
  for (int round = 0; round < rounds; ++round) {
    listTimes.push_back(MillisecondsOf(list));
    idTimes.push_back(MillisecondsOf(listIds));
    classTimes.push_back(MillisecondsOf(listClasses));
    harvestTimes.push_back(MillisecondsOf(harvest));
  }
  figures.listMs = Median(listTimes);
  figures.idsMs = Median(idTimes);
  figures.classesMs = Median(classTimes);
  figures.harvestMs = Median(harvestTimes);

  if (target.mode == BenchMode::WinDev && perWindowRuns > 0) {
    std::vector<double> times;
    for (int run = 0; run < perWindowRuns; ++run) {
      windows.calls = {};
      times.push_back(
          MillisecondsOf([&] { HarvestCountingEachWindow(target.main, target.settings, patient, windows, text); }));
      figures.perWindowCalls = windows.calls;
    }
    figures.perWindowRuns = perWindowRuns;
    figures.perWindowMs = Median(times);
  }
  (void)sink;
  return figures;
}

inline void PrintHeader(const char* title) {
  std::printf("%s\n(ms: medians over the rounds, listing and harvest taken in turn in each round)\n", title);
  std::printf("%-7s %6s %6s %9s %9s %9s %10s %7s %7s %7s %7s %7s %7s %6s %6s\n", "mode", "desc", "rounds", "list ms",
              "+ids ms", "+class ms", "harvest ms", "h/list", "class", "id", "text", "parent", "child", "walks",
              "fields");
}

inline void PrintCalls(const CallCounts& calls) {
  std::printf(" %7d %7d %7d %7d %7d %6d", calls.classNames, calls.controlIds, calls.texts, calls.parents,
              calls.firstChildren, calls.walks);
}

inline void PrintRow(const HarvestFigures& f) {
  std::printf("%-7s %6d %6d %9.3f %9.3f %9.3f %10.3f %7.2f", ModeName(f.mode), f.descendants, f.rounds, f.listMs,
              f.idsMs, f.classesMs, f.harvestMs, f.harvestMs / f.listMs);
  PrintCalls(f.calls);
  std::printf(" %6d\n", f.fields);
  if (f.perWindowRuns > 0) {
    std::printf("%-7s %6d %6d %9s %9s %9s %10.1f %7.0f", "per-win", f.descendants, f.perWindowRuns, "", "", "",
                f.perWindowMs, f.perWindowMs / f.harvestMs);
    PrintCalls(f.perWindowCalls);
    std::printf("   (h/list column: per-window / ours)\n");
  }
}

// The lines a script reads, after the table.
inline void PrintRatios(const std::vector<HarvestFigures>& all) {
  for (const HarvestFigures& f : all)
    std::printf("ratio %s %d %.3f %.3f %.2f\n", ModeName(f.mode), f.descendants, f.harvestMs, f.listMs,
                f.harvestMs / f.listMs);
  for (const HarvestFigures& f : all) {
    if (f.perWindowRuns > 0)
      std::printf("ratio windev-per-window %d %.3f %.3f %.0f\n", f.descendants, f.perWindowMs, f.harvestMs,
                  f.perWindowMs / f.harvestMs);
  }
}

}  // namespace corvane::bench
