#pragma once
// The modal message boxes in which the link reports and asks.
#include <string>

namespace corvane {

// The application title shown by a message box that gives no title of its own.
inline constexpr wchar_t kApplicationTitle[] = L"Tarnwick";

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Modal, OK only, no icon.
  virtual void Inform(const std::wstring& text, const std::wstring& title = kApplicationTitle) = 0;
  // Modal, Yes and No, no icon; true for Yes.
  virtual bool AskYesNo(const std::wstring& text, const std::wstring& title = kApplicationTitle) = 0;
};

}  // namespace corvane
