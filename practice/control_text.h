#pragma once
// Reading a control's text out of the practice program: which window holds a field's text in
// each reading mode, and the read itself, bounded in time.
#include <optional>
#include <string>

#include "platform/link_error.h"
#include "platform/text.h"
#include "platform/window_query.h"

namespace corvane {

// How the practice window's controls are told apart, chosen by its class (compared whole,
// case-sensitive): "JULIE" reads only controls of tab pages and dialogs, "WinDevObject" names
// controls by Edit ordinal, any other class (Visiodent's included) by control id.
enum class ReadingMode { Plain, Julie, WinDev };
ReadingMode ReadingModeOf(const std::wstring& practiceClass);

// The window whose text is read when `window`, of class `className`, feeds a field in `mode`:
// the window itself, or a combo box's first child; none for a window never read (a label or a
// button, a WinDev window that is no Edit, a Julie control outside a tab page or a dialog).
std::optional<WindowHandle> TextSourceOf(WindowHandle window, const std::string& className, ReadingMode mode,
                                        WindowQuery& windows);

// The window's text: the ANSI text cut at its first NUL (at most 254 bytes), a single space
// when the handle is no window. Throws PracticeNotAnswering() when the window's program does
// not answer in time.
std::wstring ReadWindowText(WindowHandle window, WindowQuery& windows, const TextPlatform& text);

// The failure raised when the practice program stops answering a text read: the command that
// was reading the patient is abandoned.
LinkError PracticeNotAnswering();

}  // namespace corvane
