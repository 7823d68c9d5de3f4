#pragma once
// The highlight frame drawn on another program's window, and the reading of a window's text.
#include <string>

#include "app/shared_state.h"
#include "platform/gdi.h"
#include "platform/link_error.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/window_query.h"

namespace corvane {

// Draws a thick frame on the window's own device context in XOR mix, so that the same call
// made again on the unchanged window removes it. Keeps no state: the caller knows which
// window carries a frame. Does nothing for a handle that is not a window. Every caller
// passes a factor of 3 (the frame is factor x the border metric thick).
void HighlightWindow(WindowHandle window, int factor, WindowQuery& windows, Gdi& gdi);

// The window's text as WM_GETTEXT gives it (at most 254 characters, cut at the first NUL), a
// single space when the handle is not a window. Throws LinkError (kPracticeNotAnswering) when
// the window's program does not answer.
std::wstring WindowText(WindowHandle window, WindowQuery& windows, const TextPlatform& text);

// Reads the window's text (a single space when the handle is not a window), toggles the
// frame on it and puts the text into Temp; returns it for the caller's text box.
// Throws LinkError (kPracticeNotAnswering) when the window's program does not answer; the
// frame is then left alone and Temp unchanged.
std::wstring CaptureWindowText(WindowHandle window, SharedState& state, Platform& platform);

// The failure raised when the practice program stops answering a text read: the command that
// was reading the patient is abandoned.
LinkError PracticeNotAnswering();

}  // namespace corvane
