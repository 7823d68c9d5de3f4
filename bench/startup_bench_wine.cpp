// How fast the link starts under Wine: from CreateProcess of CorvaneLink.exe to its launcher
// shown, and to the end of its first harvest (of the plain stand-in practice program, which
// C:\Sidexis\Tech.txt names), then the process's memory at that moment and the program's
// size. Each run also starts empty_window.exe, the least program of ours that shows a window,
// and measures it the same way: the link's figures are then given as ratios to it, which
// leaves out what Wine charges any program. Median, min and max over N runs; figures only,
// nothing is judged.
//   startup_bench_wine.exe [runs, 7 when not given]
// CORVANE_BUILD_DIR names the build folder; without it, the folder of this program.
// clang-format off
#include <windows.h>
#include <psapi.h>  // needs the types of windows.h
// clang-format on

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "launcher/launcher_win32.h"
#include "link/fixed_paths.h"
#include "tests/standins/standin_layout.h"
#include "tests/support/wine_support.h"

namespace {

using namespace corvane;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kSidexisFolder[] = LR"(C:\Sidexis)";
constexpr wchar_t kPatientFolder[] = LR"(C:\corvane-bench)";
constexpr wchar_t kPatientFile[] = LR"(C:\corvane-bench\patient.txt)";

// Every field filled, so the harvest reads all fourteen (Windows-1252 bytes).
constexpr char kPatient[] =
    "NumDossier=4711\r\nNom=Lef\xE8vre\r\nPrenom=H\xE9l\xE8ne\r\nDateNaissance=14/03/1985\r\n"
    "NumSS=2 85 03 75 123 456 78\r\nCivilite=Mme\tMadame\r\nAdresse1=12 rue des Lilas\r\n"
    "Adresse2=B\xE2timent C\r\nAdresse3=Escalier 2\r\nCP=75011\r\nVille=Paris\r\n"
    "Telephone=01 23 45 67 89\r\nMobile=06 12 34 56 78\r\nEMail=helene@example.fr\r\n";

struct Run {
  double visibleMs, harvestedMs;
  double workingSetKiB, peakWorkingSetKiB, privateKiB;
};

void WriteFiles() {
  CreateDirectoryW(kSidexisFolder, nullptr);
  const std::string tech = standin::TechFileBytes(standin::TechLines(standin::LayoutOf(standin::Mode::Plain)));
  testing::WriteBytes(kTech, tech);
  testing::WriteBytes(kTech2, tech);
  CreateDirectoryW(kPatientFolder, nullptr);
  testing::WriteBytes(kPatientFile, kPatient);
}

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Started at `start`: waits until the process shows its top-level window of that class (and
// caption, when given), found once, then its visibility polled every 2 ms (the resolution of
// the figure); null when it did not within 30 s.
HWND WaitShown(const testing::ChildProcess& process, Clock::time_point start, const wchar_t* className,
               const std::wstring* caption) {
  HWND window = nullptr;
  while (Clock::now() - start < 30s && (window == nullptr || !IsWindowVisible(window))) {
    if (window == nullptr) window = testing::WaitForTopLevel(className, process.Id(), caption, 0ms);
    if (window == nullptr || !IsWindowVisible(window)) Sleep(2);
  }
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

Run MemoryOf(const testing::ChildProcess& process, double visibleMs, double harvestedMs) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  return {visibleMs, harvestedMs, memory.WorkingSetSize / 1024.0, memory.PeakWorkingSetSize / 1024.0,
          memory.PrivateUsage / 1024.0};
}

// One start of the empty program: shown, then idle (its working set taken then).
bool MeasureEmptyOnce(int number, Run& run) {
  testing::ChildProcess empty;
  const auto start = Clock::now();
  if (!empty.Start(testing::BuildDir() + L"\\empty_window.exe")) {
    std::printf("run %d: empty_window.exe did not start (error %lu)\n", number, GetLastError());
    return false;
  }
  HWND window = WaitShown(empty, start, L"CorvaneEmptyWindow", nullptr);
  const auto visible = Clock::now();
  if (window == nullptr) {
    std::printf("run %d: the empty window was not shown within 30 s\n", number);
    return false;
  }
  WaitForInputIdle(empty.Handle(), 10000);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
  run = MemoryOf(empty, MillisecondsBetween(start, visible), MillisecondsBetween(start, Clock::now()));
  std::printf("run %d: empty window shown %.1f ms, working set %.0f KiB\n", number, run.visibleMs, run.workingSetKiB);
  return true;
}

// One start of the link beside a freshly started stand-in; false (reason printed) when a
// step did not happen. Both programs are ended on the way out.
bool MeasureOnce(int number, Run& run) {
  const std::wstring shown = std::wstring(kPatientFile) + PortableText().FromAnsi(standin::kShownSuffix);
  DeleteFileW(shown.c_str());
  testing::ChildProcess practice;
  if (!practice.StartPractice(standin::Mode::Plain, kPatientFile) ||
      testing::WaitForTopLevel(PortableText().FromAnsi(standin::LayoutOf(standin::Mode::Plain).className),
                               practice.Id()) == nullptr ||
      !testing::WaitUntil([&] { return std::filesystem::exists(shown); })) {
    std::printf("run %d: the plain practice stand-in did not show its patient\n", number);
    return false;
  }

  testing::ChildProcess link;
  const auto start = Clock::now();
  if (!link.Start(testing::BuildDir() + L"\\CorvaneLink.exe")) {
    std::printf("run %d: CorvaneLink.exe did not start (error %lu)\n", number, GetLastError());
    return false;
  }
  // The launcher is made hidden and shown afterwards.
  const std::wstring caption = kLauncherCaption;
  HWND launcher = WaitShown(link, start, kLauncherClassName, &caption);
  const auto visible = Clock::now();
  if (launcher == nullptr) {
    std::printf("run %d: the launcher was not shown within 30 s\n", number);
    return false;
  }
  // The first harvest runs from a message the launcher posts once shown. A sent WM_NULL alone
  // can be answered before it (sent messages go ahead of posted ones; seen here, ~15 ms
  // early), so first wait for input idle, which Wine signals only while the thread waits in
  // its message loop: never while a posted message is still queued.
  WaitForInputIdle(link.Handle(), 10000);
  DWORD_PTR ignored = 0;
  if (SendMessageTimeoutW(launcher, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) == 0) {
    std::printf("run %d: the launcher did not answer within 10 s\n", number);
    return false;
  }
  const auto harvested = Clock::now();
  if (HWND box = testing::WaitForShown(L"#32770", link.Id(), 0ms)) {
    std::printf("run %d: the harvest reported: %ls\n", number, testing::MessageBoxText(box).c_str());
  }

  run = MemoryOf(link, MillisecondsBetween(start, visible), MillisecondsBetween(start, harvested));
  std::printf("run %d: shown %.1f ms, first harvest done %.1f ms, working set %.0f KiB\n", number, run.visibleMs,
              run.harvestedMs, run.workingSetKiB);
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintRow(const char* name, std::vector<double> values, const char* unit) {
  std::sort(values.begin(), values.end());
  const double median = Median(values);
  std::printf("%-30s %10.1f %10.1f %10.1f  %s%s\n", name, median, values.front(), values.back(), unit,
              values.back() == 0 ? "  (Wine reports 0)" : "");
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 7;
  WriteFiles();
  const std::wstring program = testing::BuildDir() + L"\\CorvaneLink.exe";
  std::printf("Start-up of %ls under Wine, %d runs\n", program.c_str(), runs);

  // The two programs in turn, so that a machine slowed by others slows both alike.
  std::vector<Run> measured, empty;
  for (int number = 1; number <= runs; ++number) {
    Run run{};
    if (MeasureOnce(number, run)) measured.push_back(run);
    if (MeasureEmptyOnce(number, run)) empty.push_back(run);
  }

  WIN32_FILE_ATTRIBUTE_DATA file{};
  if (GetFileAttributesExW(program.c_str(), GetFileExInfoStandard, &file)) {
    std::printf("CorvaneLink.exe size: %llu bytes\n",
                (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow);
  }
  if (measured.empty()) return 1;
  std::printf("%zu of %d runs measured\n%-30s %10s %10s %10s\n", measured.size(), runs, "", "median", "min", "max");
  auto column = [](const std::vector<Run>& runs, double Run::*figure) {
    std::vector<double> values;
    for (const Run& run : runs) values.push_back(run.*figure);
    return values;
  };
  PrintRow("launcher shown", column(measured, &Run::visibleMs), "ms");
  PrintRow("first harvest done", column(measured, &Run::harvestedMs), "ms");
  PrintRow("working set after harvest", column(measured, &Run::workingSetKiB), "KiB");
  PrintRow("peak working set", column(measured, &Run::peakWorkingSetKiB), "KiB");
  PrintRow("private usage", column(measured, &Run::privateKiB), "KiB");
  if (empty.empty()) return 1;
  PrintRow("empty window shown", column(empty, &Run::visibleMs), "ms");
  PrintRow("empty window working set", column(empty, &Run::workingSetKiB), "KiB");
  PrintRow("empty window private usage", column(empty, &Run::privateKiB), "KiB");
  // Medians of the same runs: ratio <figure> <link> <empty window> <link / empty window>.
  for (auto [name, figure] :
       {std::pair{"launcher-shown", &Run::visibleMs}, std::pair{"working-set", &Run::workingSetKiB}}) {
    const double link = Median(column(measured, figure)), bare = Median(column(empty, figure));
    std::printf("ratio %s %.1f %.1f %.2f\n", name, link, bare, link / bare);
  }
  return 0;
}
