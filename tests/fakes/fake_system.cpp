#include "tests/fakes/fake_system.h"

#include <algorithm>
#include <cwctype>

namespace corvane::fakes {

std::wstring FakeEnvironment::Variable(const std::wstring& name) const {
  const auto same = [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); };
  for (const auto& [key, value] : variables)
    if (std::ranges::equal(key, name, same)) return value;
  return {};
}

void FakeProgramStarter::Start(const std::wstring& path) {
  if (fail) throw LinkError(L"Le fichier spécifié est introuvable.", 2);
  started.push_back(path);
}

bool FakeMessageBoxes::AskYesNo(const std::wstring& text, const std::wstring& title) {
  shown.push_back({text, title, true});
  const bool answer = answers.empty() || answers.front();
  if (!answers.empty()) answers.erase(answers.begin());
  return answer;
}

}  // namespace corvane::fakes
