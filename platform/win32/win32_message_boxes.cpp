#include "platform/win32/win32_message_boxes.h"

namespace corvane {

void Win32MessageBoxes::Inform(const std::wstring& text, const std::wstring& title) {
  MessageBoxW(Owner(), text.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND | MB_TOPMOST);
}

bool Win32MessageBoxes::AskYesNo(const std::wstring& text, const std::wstring& title) {
  return MessageBoxW(Owner(), text.c_str(), title.c_str(), MB_YESNO | MB_SETFOREGROUND | MB_TOPMOST) == IDYES;
}

}  // namespace corvane
