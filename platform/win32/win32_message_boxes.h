#pragma once
// Modal message boxes owned by the window the user is looking at.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/message_boxes.h"

namespace corvane {

class Win32MessageBoxes : public MessageBoxes {
 public:
  // Which window a box belongs to, asked at each box: that window stays disabled until the
  // box is answered.
  void SetOwner(std::function<HWND()> owner) { owner_ = std::move(owner); }
  void Inform(const std::wstring& text, const std::wstring& title) override;
  bool AskYesNo(const std::wstring& text, const std::wstring& title) override;

 private:
  HWND Owner() const { return owner_ ? owner_() : nullptr; }
  std::function<HWND()> owner_;
};

}  // namespace corvane
