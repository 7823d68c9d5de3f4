#pragma once
// The link's files on a practice PC. They are fixed: no option, variable or registry value
// moves them. Only app/ hands them to the core, as LinkPaths; the core works on the paths it is
// given. The tests, the benchmarks and the stand-in X-ray program use the same names.
#include "link/link_state.h"

namespace corvane {

inline constexpr wchar_t kTech[] = LR"(C:\Sidexis\Tech.txt)";
inline constexpr wchar_t kTech2[] = LR"(C:\Sidexis\Tech2.txt)";
inline constexpr wchar_t kSiomin[] = LR"(C:\SIDEXIS\siomin.sdx)";
inline constexpr wchar_t kSiomin2[] = LR"(C:\SIDEXIS\siomin2.sdx)";
inline constexpr wchar_t kSidexisExe[] = LR"(C:\SIDEXIS\Sidexis.exe)";

inline LinkPaths FixedLinkPaths() {
  LinkPaths paths;
  paths.settings.tech = kTech;
  paths.settings.tech2 = kTech2;
  paths.siomin = kSiomin;
  paths.siomin2 = kSiomin2;
  paths.sidexisProgram = kSidexisExe;
  return paths;
}

}  // namespace corvane
