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

// The practice window as the last location found it.
struct PracticeWindow {
  std::wstring className;   // entry 16 as loaded
  std::wstring title;       // entry 17 as loaded, or the live Visiodent title
  std::wstring showScreen;  // entry 15 as loaded
  WindowHandle handle;      // the window found; also set by the file-number drop
};

// The title of the first top-level "FENETRE_VISIODENT32" window when it begins with
// "VISIODE", else empty. Reads it as the finder captures a text (the frame toggles on it);
// `temp` receives the text read. Throws LinkError when Visiodent does not answer.
std::wstring CurrentVisiodentTitle(WindowQuery& windows, Gdi& gdi, const TextPlatform& text, std::wstring& temp);

// Takes entries 15 to 17 from `settings` into `practice`, then finds the window. True when it
// was found (practice.handle); false, and nothing read, when the title is empty or no window
// bears it. `temp` receives Visiodent's title when it is read.
bool LocatePracticeWindow(const LinkSettings& settings, PracticeWindow& practice, std::wstring& temp,
                          WindowQuery& windows, Gdi& gdi, const TextPlatform& text);

}  // namespace corvane
