#pragma once
// The link as the native tests run it: a fresh temporary folder holding the settings and
// hand-off files, the portable files and code page, and recording fakes for the rest.
#include <filesystem>
#include <string>

#include "link/link_state.h"
#include "platform/platform.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_system.h"

namespace corvane::fakes {

struct FakeLink {
  // `name` tells the folders of different suites apart; tests may run side by side.
  explicit FakeLink(const std::string& name);
  ~FakeLink();
  FakeLink(const FakeLink&) = delete;
  FakeLink& operator=(const FakeLink&) = delete;

  std::filesystem::path folder;
  LinkPaths paths;  // Tech.txt, Tech2.txt, siomin.sdx, siomin2.sdx, Sidexis.exe in `folder`
  PortableFileSystem files;
  PortableText text;
  FakeClock clock;
  FakeEnvironment environment;  // COMPUTERNAME is CABINET1
  FakeProgramStarter programs;
  FakeMessageBoxes messages;
  FakeDesktop desktop;
  FakeGdi gdi;
  Platform platform{files, text, clock, environment, programs, messages, desktop, gdi};
  SharedState state;
};

}  // namespace corvane::fakes
