#pragma once
// The process environment.
#include <windows.h>

#include <string>

#include "platform/environment.h"

namespace corvane {

class Win32Environment : public Environment {
 public:
  std::wstring Variable(const std::wstring& name) const override;
};

}  // namespace corvane
