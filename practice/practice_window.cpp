#include "practice/practice_window.h"

#include <optional>

#include "practice/highlight.h"

namespace corvane {
namespace {

inline constexpr wchar_t kVisiodentClass[] = L"FENETRE_VISIODENT32";
inline constexpr char kVisiodentClassBytes[] = "FENETRE_VISIODENT32";
inline constexpr wchar_t kVisiodentTitlePrefix[] = L"VISIODE";

// A window the practice program hid (a closed form it keeps for later) holds a patient no
// longer on screen: only a visible one counts. The bound only guards against a z-order that
// keeps changing under the walk.
WindowHandle FindVisibleTopLevel(WindowQuery& windows, const std::string& className,
                                 const std::optional<std::string>& title) {
  WindowHandle found;
  for (int tried = 0; tried < 4096; ++tried) {
    found = windows.FindTopLevel(className, title, found);
    if (!found || windows.IsVisible(found)) return found;
  }
  return {};
}

}  // namespace

std::wstring CurrentVisiodentTitle(WindowQuery& windows, Gdi& gdi, const TextPlatform& text,
                                   std::wstring& lastTextRead) {
  const WindowHandle visiodent = FindVisibleTopLevel(windows, kVisiodentClassBytes, std::nullopt);
  lastTextRead = CaptureWindowText(visiodent, windows, gdi, text);
  return lastTextRead.compare(0, 7, kVisiodentTitlePrefix) == 0 ? lastTextRead : std::wstring();
}

bool LocatePracticeWindow(const LinkSettings& settings, PracticeWindow& practice, WindowQuery& windows, Gdi& gdi,
                          const TextPlatform& text) {
  practice.className = settings.Entry(kEntryPracticeClass);
  practice.title = settings.Entry(kEntryPracticeTitle);
  // Visiodent's title changes while it runs: its live title replaces the stored one.
  if (practice.className == kVisiodentClass) practice.title = CurrentVisiodentTitle(windows, gdi, text, practice.lastTextRead);
  if (practice.title.empty()) return false;
  // The lookup compares up to a NUL: a title the finder captured carries one at its end.
  practice.handle =
      FindVisibleTopLevel(windows, text.ToAnsi(practice.className), text.ToAnsi(practice.title));
  return static_cast<bool>(practice.handle);
}

}  // namespace corvane
