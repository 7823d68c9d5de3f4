#include "platform/win32/win32_program_starter.h"

#include "platform/win32/win32_error.h"
#include "texts/system_texts.h"

namespace corvane {

void Win32ProgramStarter::Start(const std::wstring& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    throw SystemFailure(kCannotStartProgram, path, GetLastError());
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace corvane
