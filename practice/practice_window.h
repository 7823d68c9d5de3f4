#pragma once
// Locating the practice window: its class and title from the link settings (Visiodent's live
// title instead of the stored one), then the top-level window that bears them.
#include <string>

#include "platform/gdi.h"
#include "platform/text.h"
#include "platform/types.h"
#include "platform/window_query.h"
#include "settings/link_settings.h"

namespace corvane {

inline constexpr wchar_t kNothingReadYet[] = L"Valeurs pour lecture";

// The practice window as the last location found it.
struct PracticeWindow {
  std::wstring className;  // entry 16 as loaded
  std::wstring title;      // entry 17 as loaded, or the live Visiodent title
  WindowHandle handle;     // the window found; also set by the file-number drop
  // The last text read from the practice program's windows, by a harvest, a drop or the
  // Visiodent title: what a support person looks at when a field stays empty.
  std::wstring lastTextRead = kNothingReadYet;
};

// The title of the first top-level "FENETRE_VISIODENT32" window when it begins with
// "VISIODE", else empty. Reads it as the finder captures a text (the frame toggles on it);
// `lastTextRead` receives the text read. Throws LinkError when Visiodent does not answer.
std::wstring CurrentVisiodentTitle(WindowQuery& windows, Gdi& gdi, const TextPlatform& text,
                                   std::wstring& lastTextRead);

// Takes entries 16 and 17 from `settings` into `practice`, then finds the window. True when it
// was found (practice.handle); false, and nothing read, when the title is empty or no window
// bears it.
bool LocatePracticeWindow(const LinkSettings& settings, PracticeWindow& practice, WindowQuery& windows, Gdi& gdi,
                          const TextPlatform& text);

}  // namespace corvane
