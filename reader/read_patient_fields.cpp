#include "reader/read_patient_fields.h"

#include <optional>

#include "finder/highlight.h"
#include "reader/harvest.h"

namespace corvane {
namespace {

inline constexpr wchar_t kVisiodentClass[] = L"FENETRE_VISIODENT32";
inline constexpr char kVisiodentClassBytes[] = "FENETRE_VISIODENT32";
inline constexpr wchar_t kVisiodentTitlePrefix[] = L"VISIODE";

// A value as the window lookup sees it: ANSI bytes, ending at the first NUL. A title the
// finder captured carries a NUL at its end and must still find its window.
std::string LookupBytes(const std::wstring& value, const TextPlatform& text) {
  std::string bytes = text.ToAnsi(value);
  bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
  return bytes;
}

}  // namespace

void ReadPatientFields(SharedState& state, const LinkPaths& paths, Platform& platform) {
  // First, before anything can stop the run: a run that finds nothing must leave the earlier
  // values shown but stale, so that a patient no longer on screen is never handed off.
  state.patient.BeginHarvest();

  LoadLinkSettings(state.settings, paths.settings, platform.files, platform.text);
  state.practice.showScreen = state.settings.Entry(kEntryShowScreenFlag);
  state.practice.className = state.settings.Entry(kEntryPracticeClass);
  state.practice.title = state.settings.Entry(kEntryPracticeTitle);

  // Visiodent's title changes while it runs: its live title replaces the stored one.
  if (state.practice.className == kVisiodentClass) state.practice.title = CurrentVisiodentTitle(state, platform);
  if (state.practice.title.empty()) return;

  state.practice.handle = platform.windows.FindTopLevel(LookupBytes(state.practice.className, platform.text),
                                                        LookupBytes(state.practice.title, platform.text));
  if (!state.practice.handle) return;

  HarvestPracticeWindow(state, platform.windows, platform.text);
  state.patient.CompleteHarvest();
}

std::wstring CurrentVisiodentTitle(SharedState& state, Platform& platform) {
  const WindowHandle visiodent = platform.windows.FindTopLevel(kVisiodentClassBytes, std::nullopt);
  CaptureWindowText(visiodent, state, platform);
  const std::wstring& title = state.patient.temp;
  return title.compare(0, 7, kVisiodentTitlePrefix) == 0 ? title : std::wstring();
}

void TestFunction(SharedState& state, Platform& platform) {
  CurrentVisiodentTitle(state, platform);
}

}  // namespace corvane
