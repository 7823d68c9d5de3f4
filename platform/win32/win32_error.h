#pragma once
// The system's own text for a failure, and the LinkError that carries it.
#include <windows.h>

#include <string>

#include "platform/link_error.h"

namespace corvane {

// The system's own text for an error number, without its trailing line break; `insert` is what
// its "%1" names (a file's path), and the text's other inserts are left out.
std::wstring SystemErrorText(DWORD error, const std::wstring& insert = {});
// A LinkError: "<what> « <path> » : <system text>", numbered with the system's error.
LinkError SystemFailure(const std::wstring& what, const std::wstring& path, DWORD error);

}  // namespace corvane
