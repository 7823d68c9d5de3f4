#pragma once
// The highlight frame drawn on another program's window, and the reading of a window's text.
#include <optional>
#include <string>

#include "platform/gdi.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "platform/window_query.h"

namespace corvane {

// Draws a thick frame on the window's own device context in XOR mix, so that the same call
// made again on the unchanged window removes it. Keeps no state: the caller knows which
// window carries a frame. Does nothing for a handle that is not a window. Every caller
// passes a factor of 3 (the frame is factor x the border metric thick). With `part`, a field
// the window draws itself (screen coordinates), the frame outlines that part of the window.
void HighlightWindow(WindowHandle window, int factor, WindowQuery& windows, Gdi& gdi,
                     const std::optional<Rect>& part = std::nullopt);

// Reads the window's text as the harvest does (a single space when the handle is not a
// window), then toggles the frame on it; the caller keeps it as the last text read. Throws
// LinkError (kPracticeNotAnswering) when the window's program does not answer; the frame is
// then left alone.
std::wstring CaptureWindowText(WindowHandle window, WindowQuery& windows, Gdi& gdi, const TextPlatform& text);

}  // namespace corvane
