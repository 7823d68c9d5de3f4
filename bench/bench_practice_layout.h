#pragma once
// The practice window the harvest benchmarks read: the same tree of windows is built in
// memory (native benchmark) and as real windows by the stand-in practice program (Wine
// benchmarks, highlight tests; tests/standins/bench_standin.h). Portable: no <windows.h>.
//
// The main window holds groups of ten: a container and nine windows inside it, in creation
// order (which is also the enumeration order). Fourteen readable windows spread over the tree
// are named by the link settings entries, so a harvest stores all fourteen fields.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace corvane::bench {

enum class BenchMode { Plain, Julie, WinDev };

struct BenchWindow {
  int parent = -1;  // index in BenchLayout::windows, -1 for the main window
  std::string className;
  int id = 0;
  std::string text;
};

struct BenchLayout {
  std::string mainClass;
  std::string title;
  std::vector<BenchWindow> windows;     // creation order
  std::array<std::string, 14> entries;  // link settings entries 1 to 14
};

inline const char* ModeName(BenchMode mode) {
  switch (mode) {
    case BenchMode::Plain:
      return "plain";
    case BenchMode::Julie:
      return "julie";
    case BenchMode::WinDev:
      return "windev";
  }
  return "";
}

inline std::optional<BenchMode> ModeFromName(const std::string& name) {
  for (BenchMode mode : {BenchMode::Plain, BenchMode::Julie, BenchMode::WinDev}) {
    if (name == ModeName(mode)) return mode;
  }
  return std::nullopt;
}

inline constexpr int kGroupSize = 10;
inline constexpr int kLastOrdinal = 255;  // the Edit counter is 8 bits

// `descendants` windows below the main window (rounded down to whole groups, at least one).
inline BenchLayout MakeBenchLayout(BenchMode mode, int descendants) {
  BenchLayout layout;
  layout.mainClass = mode == BenchMode::Plain   ? "CorvaneBenchPractice"
                     : mode == BenchMode::Julie ? "JULIE"
                                                : "WinDevObject";
  layout.title = std::string("Banc d'essai ") + ModeName(mode) + " " + std::to_string(descendants);

  // What sits in each group after its container, in order; "+" marks the child of a combo.
  std::vector<std::string> members;
  std::string container;
  switch (mode) {
    case BenchMode::Plain:
      members = {"STATIQUE_LABEL", "Edit", "Edit", "Edit", "STATIQUE_LABEL", "Edit", "Edit", "Edit", "BOUTON_OK"};
      break;
    case BenchMode::Julie:
      members = {"STATIQUE_LABEL", "Edit", "Edit", "JWCOMBOBOX", "+Edit", "Edit", "Edit", "Edit", "BOUTON_OK"};
      break;
    case BenchMode::WinDev:
      members = {"Static", "Edit", "EditWinDev", "Static", "Edit", "Edit", "STATIQUE_LABEL", "Edit", "RichEdit20A"};
      break;
  }
  const int groups = std::max(1, descendants / kGroupSize);
  int nextId = 1000;
  std::vector<int> readable;  // candidates for a field, in walk order
  std::vector<int> ordinals;  // their Edit ordinals (WinDev)
  int edits = 0;
  for (int g = 0; g < groups; ++g) {
    std::string containerClass = mode == BenchMode::Plain    ? "CorvanePanel"
                                 : mode == BenchMode::WinDev ? "WinDevPane"
                                 : g % 2 == 0                ? "JWTABPAGE1"
                                                             : "#32770";
    const int containerIndex = static_cast<int>(layout.windows.size());
    layout.windows.push_back({-1, containerClass, mode == BenchMode::WinDev ? 0 : 5000 + g, ""});
    int lastCombo = -1;
    for (const std::string& member : members) {
      const bool comboPart = member[0] == '+';
      const std::string className = comboPart ? member.substr(1) : member;
      const int index = static_cast<int>(layout.windows.size());
      const int id = mode == BenchMode::WinDev ? 0 : nextId++;
      layout.windows.push_back(
          {comboPart ? lastCombo : containerIndex, className, id, "Valeur " + std::to_string(index)});
      if (className == "JWCOMBOBOX") lastCombo = index;
      const bool edit = className.rfind("Edit", 0) == 0;
      if (edit) ++edits;
      if (mode == BenchMode::WinDev) {
        if (edit && edits <= kLastOrdinal) {
          readable.push_back(index);
          ordinals.push_back(edits);
        }
      } else if (!comboPart && (className == "Edit" || className == "JWCOMBOBOX")) {
        readable.push_back(index);
      }
    }
  }
  // Fourteen fields spread evenly over the readable windows, the last one included.
  for (int n = 0; n < 14 && !readable.empty(); ++n) {
    const std::size_t pick = (readable.size() - 1) * static_cast<std::size_t>(n) / 13;
    const int identity = mode == BenchMode::WinDev ? ordinals[pick] : layout.windows[readable[pick]].id;
    layout.entries[static_cast<std::size_t>(n)] = std::to_string(identity);
  }
  return layout;
}

}  // namespace corvane::bench
