// The harvest over random window trees of the fake desktop, controls vanishing as they are read
// included, against a reference written straight from the reading rules.
#include <array>

#include "reader/harvest.h"
#include "reader/normalise.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fuzz/fuzz_input.h"

using namespace corvane;

namespace {

struct Reference {
  fakes::FakeDesktop& desktop;
  ReadingMode mode;
  std::array<std::wstring, kFieldCount> fields{};
  std::int32_t edits = 0;

  void Visit(WindowHandle handle, const LinkSettings& settings) {
    const fakes::FakeWindow& window = desktop.At(handle);
    if (!window.alive) return;
    const std::string &name = window.className, &parent = desktop.At(window.parent).className;
    const std::int32_t ordinal = mode == ReadingMode::WinDev && name.starts_with("Edit") ? ++edits : 0;
    if ((mode != ReadingMode::Julie || parent.starts_with("JWTABPAGE") || parent.starts_with("#32770")) &&
        !name.starts_with("STATIQUE") && !name.starts_with("BOUTON") &&
        (mode != ReadingMode::WinDev || name.starts_with("Edit"))) {
      // Only a window that feeds a field is read, so only such a window can vanish as it is read.
      const std::int32_t identity = mode == ReadingMode::WinDev ? ordinal : window.controlId;
      bool named = false;
      for (int e = 1; e <= kFieldCount; ++e) named |= identity != 0 && EntryIdentity(settings.Entry(e)) == identity;
      WindowHandle source = name.starts_with("JWCOMBO") ? WindowHandle() : handle;
      for (WindowHandle child : window.children) source = source ? source : desktop.At(child).alive ? child : source;
      std::string read = " ";
      if (named && source && desktop.At(source).destroyedWhileRead) desktop.Destroy(source);
      if (named && source && desktop.At(source).alive) read = desktop.At(source).text.substr(0, 254);
      for (int e = 1; e <= kFieldCount; ++e) {
        const std::int32_t wanted = EntryIdentity(settings.Entry(e));
        if (wanted != 0 && wanted == identity)
          fields[e - 1] = NormaliseField(FieldOfEntry(e), PortableText().FromAnsi(read), PortableText());
      }
    }
    for (WindowHandle child : window.alive ? window.children : std::vector<WindowHandle>{}) Visit(child, settings);
  }
};

// Byte 0 the practice program, bytes 1 to 14 the entries, then 4 bytes a window: its parent,
// class, id, and whether it vanishes when read, has a line break, is over 254 bytes long.
WindowHandle Build(const std::uint8_t* data, std::size_t size, fakes::FakeDesktop& desktop, LinkSettings& settings) {
  static const char* kClasses[] = {"Edit",   "EditX",      "EDIT",   "Edi",     "STATIQUE",
                                   "BOUTON", "JWTABPAGE1", "#32770", "JWCOMBO", "Panel"};
  static const char* kPractices[] = {"Cabinet", "JULIE", "WinDevObject"};
  std::vector<WindowHandle> windows{desktop.AddTopLevel(kPractices[data[0] % 3], "Dossier")};
  for (int e = 1; e <= kFieldCount; ++e) settings.SetEntry(e, std::to_wstring(data[e] % 9 - 1));
  for (std::size_t at = 15; at + 4 <= size && windows.size() < 60; at += 4) {
    std::string text = "w" + std::to_string(at) + (data[at + 3] & 2 ? "\r\n\xE9" : "");
    if (data[at + 3] & 4) text += std::string(260, 'x');
    windows.push_back(desktop.AddChild(windows[data[at] % windows.size()], kClasses[data[at + 1] % std::size(kClasses)],
                                       data[at + 2] % 8 - 1, text));
    desktop.At(windows.back()).destroyedWhileRead = data[at + 3] & 1;
  }
  return windows[0];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 15) return 0;
  fakes::FakeDesktop desktop, referenceDesktop;
  LinkSettings settings;
  const WindowHandle practice = (Build(data, size, referenceDesktop, settings), Build(data, size, desktop, settings));
  const std::wstring practiceClass = PortableText().FromAnsi(desktop.At(practice).className);
  PatientRecord patient;
  PracticeWindow found{practiceClass, L"", practice};
  HarvestPracticeWindow(found, settings, patient, desktop, desktop, PortableText());
  Reference reference{referenceDesktop, ReadingModeOf(practiceClass)};
  for (WindowHandle child : referenceDesktop.At(practice).children) reference.Visit(child, settings);
  for (int e = 1; e <= kFieldCount; ++e) FUZZ_CHECK(patient.Value(FieldOfEntry(e)) == reference.fields[e - 1]);
  return 0;
}
