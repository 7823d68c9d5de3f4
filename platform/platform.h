#pragma once
// Everything the core reaches the world through, handed around as one bundle of references.
#include "platform/accessibility.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/gdi.h"
#include "platform/message_boxes.h"
#include "platform/program_starter.h"
#include "platform/text.h"
#include "platform/window_query.h"

namespace corvane {

struct Platform {
  FileSystem& files;
  TextPlatform& text;
  Clock& clock;
  Environment& environment;
  ProgramStarter& programs;
  MessageBoxes& messages;
  WindowQuery& windows;
  Gdi& gdi;
  AccessibilityQuery& accessibility;
};

}  // namespace corvane
