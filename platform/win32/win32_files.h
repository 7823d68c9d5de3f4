#pragma once
// Files through CreateFileW, ReadFile and WriteFile.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/files.h"

namespace corvane {

class Win32FileSystem : public FileSystem {
 public:
  std::string ReadAll(const std::wstring& path) const override;
  std::optional<std::string> ReadIfPresent(const std::wstring& path) const override;
  std::unique_ptr<OutputFile> OpenForOutput(const std::wstring& path) override;
  void ReplaceWhole(const std::wstring& path, const std::string& bytes) override;
  void Remove(const std::wstring& path) override;
};

}  // namespace corvane
