#pragma once
// The modal message boxes in which the link reports and asks.
#include <string>

#include "texts/system_texts.h"

namespace corvane {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Modal, OK only, no icon.
  virtual void Inform(const std::wstring& text, const std::wstring& title = kApplicationTitle) = 0;
  // Modal, Yes and No, no icon; true for Yes.
  virtual bool AskYesNo(const std::wstring& text, const std::wstring& title = kApplicationTitle) = 0;
};

}  // namespace corvane
