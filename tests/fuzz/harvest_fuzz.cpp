// The harvest over random window trees of the fake desktop, controls vanishing as they are read
// included, against a reference written straight from the reading rules.
#include <array>

#include "reader/harvest.h"
#include "reader/normalise.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fuzz/fuzz_input.h"

using namespace corvane;

namespace {

struct Node {
  std::string className, text;
  std::int32_t id = 0;
  bool vanishes = false, alive = true;
  int parent = -1;
  std::vector<int> children;
};

struct Reference {
  std::vector<Node>& nodes;
  ReadingMode mode;
  std::array<std::int32_t, kFieldCount> entries;
  std::array<std::wstring, kFieldCount> fields{};
  std::int32_t edits = 0;

  void Kill(int n) {
    nodes[n].alive = false;
    for (int child : nodes[n].children) Kill(child);
  }
  void Visit(int n) {
    if (!nodes[n].alive) return;
    const std::string& cls = nodes[n].className;
    const std::int32_t ordinal = mode == ReadingMode::WinDev && cls.starts_with("Edit") ? ++edits : 0;
    const std::string& parentClass = nodes[nodes[n].parent].className;
    const bool julieSkips =
        mode == ReadingMode::Julie && !parentClass.starts_with("JWTABPAGE") && !parentClass.starts_with("#32770");
    if (!julieSkips && !cls.starts_with("STATIQUE") && !cls.starts_with("BOUTON") &&
        (mode != ReadingMode::WinDev || cls.starts_with("Edit"))) {
      int source = n;
      if (cls.starts_with("JWCOMBO")) {
        source = -1;
        for (int child : nodes[n].children)
          if (source < 0 && nodes[child].alive) source = child;
      }
      std::wstring read = L" ";
      if (source >= 0 && nodes[source].vanishes)
        Kill(source);
      else if (source >= 0)
        read = PortableText().FromAnsi(nodes[source].text.substr(0, nodes[source].text.find('\0')).substr(0, 254));
      const std::int32_t identity = mode == ReadingMode::WinDev ? ordinal : nodes[n].id;
      for (int e = 0; e < kFieldCount; ++e)
        if (entries[e] != 0 && entries[e] == identity)
          fields[e] = NormaliseField(FieldOfEntry(e + 1), read, PortableText());
    }
    if (nodes[n].alive)
      for (int child : nodes[n].children) Visit(child);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* kClasses[] = {"Edit",   "EditX",      "EDIT",   "Edi",     "STATIQUE",
                                   "BOUTON", "JWTABPAGE1", "#32770", "JWCOMBO", "Panel"};
  static const char* kPractices[] = {"Cabinet", "JULIE", "WinDevObject"};
  if (size < 15) return 0;
  const std::string practiceClass = kPractices[data[0] % 3];
  std::vector<Node> nodes(1);
  nodes[0].className = practiceClass;
  LinkSettings settings;
  std::array<std::int32_t, kFieldCount> entries{};
  for (int e = 0; e < kFieldCount; ++e) {
    entries[e] = data[1 + e] % 9 - 1;
    settings.SetEntry(e + 1, std::to_wstring(entries[e]));
  }
  fakes::FakeDesktop desktop;
  std::vector<WindowHandle> handles{desktop.AddTopLevel(practiceClass, "Dossier")};
  for (std::size_t at = 15; at + 4 <= size && nodes.size() < 60; at += 4) {
    Node node;
    node.className = kClasses[data[at + 1] % std::size(kClasses)];
    node.text = "w" + std::to_string(nodes.size());
    node.parent = data[at] % nodes.size();
    node.id = data[at + 2] % 8 - 1;
    node.vanishes = data[at + 3] & 1;
    if (data[at + 3] & 2) node.text += "\r\n\xE9";
    if (data[at + 3] & 4) node.text += std::string(260, 'x');
    handles.push_back(desktop.AddChild(handles[node.parent], node.className, node.id, node.text));
    desktop.At(handles.back()).destroyedWhileRead = node.vanishes;
    nodes[node.parent].children.push_back(static_cast<int>(nodes.size()));
    nodes.push_back(node);
  }
  const std::wstring wideClass = PortableText().FromAnsi(practiceClass);
  PatientRecord patient;
  HarvestPracticeWindow(handles[0], settings, wideClass, patient, desktop, PortableText());
  Reference reference{nodes, ReadingModeOf(wideClass), entries};
  for (int child : nodes[0].children) reference.Visit(child);
  for (int e = 0; e < kFieldCount; ++e) FUZZ_CHECK(patient.Value(FieldOfEntry(e + 1)) == reference.fields[e]);
  return 0;
}
