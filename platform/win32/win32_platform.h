#pragma once
// Win32 implementations of the small platform services.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/files.h"
#include "platform/link_error.h"
#include "platform/system.h"
#include "platform/text.h"

namespace corvane {

// The system's own text for an error number, without its trailing line break.
std::wstring SystemErrorText(DWORD error);
// A LinkError: "<what> « <path> » : <system text>", numbered with the system's error.
LinkError SystemFailure(const std::wstring& what, const std::wstring& path, DWORD error);

class Win32Text : public TextPlatform {
 public:
  std::string ToAnsi(const std::wstring& text) const override;
  std::wstring FromAnsi(const std::string& bytes) const override;
  wchar_t ToUpper(wchar_t c) const override;
};

class Win32FileSystem : public FileSystem {
 public:
  std::string ReadAll(const std::wstring& path) const override;
  std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) override;
  void ReplaceWhole(const std::wstring& path, const std::string& bytes) override;
};

class Win32Clock : public Clock {
 public:
  LocalTime Now() const override;
};

class Win32Environment : public Environment {
 public:
  std::wstring Variable(const std::wstring& name) const override;
};

class Win32ProgramStarter : public ProgramStarter {
 public:
  void Start(const std::wstring& path) override;
};

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
