#include "tests/fakes/fake_system.h"

#include <cwctype>

namespace corvane::fakes {

std::wstring FakeEnvironment::Variable(const std::wstring& name) const {
  for (const auto& [key, value] : variables) {
    if (key.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < key.size() && same; ++i) same = std::towupper(key[i]) == std::towupper(name[i]);
    if (same) return value;
  }
  return {};
}

void FakeProgramStarter::Start(const std::wstring& path) {
  if (fail) throw LinkError(L"Le fichier spécifié est introuvable.", 2);
  started.push_back(path);
}

void FakeMessageBoxes::Inform(const std::wstring& text, const std::wstring& title) {
  shown.push_back({text, title, false});
}

bool FakeMessageBoxes::AskYesNo(const std::wstring& text, const std::wstring& title) {
  shown.push_back({text, title, true});
  if (answers.empty()) return true;
  const bool answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

}  // namespace corvane::fakes
