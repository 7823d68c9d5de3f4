#pragma once
// The real platform: every adapter of platform/win32/, and the bundle the core is handed.
#include "platform/platform.h"
#include "platform/win32/win32_accessibility.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_program_starter.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window_query.h"

namespace corvane {

struct Win32Platform {
  Win32FileSystem files;
  Win32Text text;
  Win32Clock clock;
  Win32Environment environment;
  Win32ProgramStarter programs;
  Win32MessageBoxes messages;
  Win32WindowQuery windows;
  Win32Gdi gdi;
  Win32Accessibility accessibility;
  Platform platform{files, text, clock, environment, programs, messages, windows, gdi, accessibility};
};

}  // namespace corvane
