#pragma once
// Everything the core reaches the world through, handed around as one bundle of references.
#include "platform/files.h"
#include "platform/gdi.h"
#include "platform/system.h"
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
};

}  // namespace corvane
