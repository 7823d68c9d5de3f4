#include "practice/control_text.h"

#include <algorithm>
#include <string_view>

#include "practice/control_identity.h"

namespace corvane {
namespace {

inline constexpr wchar_t kJulieClass[] = L"JULIE";

// The class tests are case-sensitive prefixes of fixed length.
bool BeginsWith(const std::string& className, std::string_view prefix) {
  return className.compare(0, prefix.size(), prefix) == 0;
}

bool IsJulieContainer(const std::string& className) {
  return BeginsWith(className, "JWTABPAGE") || BeginsWith(className, "#32770");
}

bool IsNeverRead(const std::string& className) {
  return BeginsWith(className, "STATIQUE") || BeginsWith(className, "BOUTON");
}

// A combo box keeps its value in its first child; its own text is a caption.
bool IsCombo(const std::string& className) {
  return BeginsWith(className, "JWCOMBO");
}

}  // namespace

ReadingMode ReadingModeOf(const std::wstring& practiceClass) {
  if (practiceClass == kJulieClass) return ReadingMode::Julie;
  if (practiceClass == kWinDevClass) return ReadingMode::WinDev;
  return ReadingMode::Plain;
}

std::optional<WindowHandle> TextSourceOf(WindowHandle window, const std::string& className, ReadingMode mode,
                                        WindowQuery& windows) {
  if (mode == ReadingMode::WinDev && !BeginsWith(className, "Edit")) return std::nullopt;
  if (IsNeverRead(className)) return std::nullopt;
  if (mode == ReadingMode::Julie &&
      !IsJulieContainer(windows.ClassName(windows.Ancestor(window, AncestorKind::Parent)))) {
    return std::nullopt;
  }
  return IsCombo(className) ? windows.FirstChild(window) : window;
}

std::wstring ReadWindowText(WindowHandle window, WindowQuery& windows, const TextPlatform& text) {
  const TextRead read = windows.ReadText(window);
  switch (read.status) {
    case TextRead::Status::Read:
      // Never past byte 254 (the buffer's last byte is its NUL), even when a careless program
      // filled the buffer without it.
      return text.FromAnsi(read.bytes.substr(0, std::min<std::size_t>(read.bytes.find('\0'), 254)));
    case TextRead::Status::NotAWindow:
      return L" ";
    case TextRead::Status::NotAnswering:
      break;
  }
  throw PracticeNotAnswering();
}

LinkError PracticeNotAnswering() {
  return LinkError(
      L"Le logiciel de gestion du cabinet ne répond pas : la lecture du patient est abandonnée. "
      L"Réessayez dans un instant.",
      error_number::kPracticeNotAnswering);
}

}  // namespace corvane
