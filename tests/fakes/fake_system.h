#pragma once
// Recording stand-ins for the small system services.
#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/link_error.h"
#include "platform/message_boxes.h"
#include "platform/program_starter.h"

namespace corvane::fakes {

class FakeClock : public Clock {
 public:
  LocalTime now{2027, 1, 15, 9, 30, 15};
  LocalTime Now() const override { return now; }
};

class FakeEnvironment : public Environment {
 public:
  std::map<std::wstring, std::wstring> variables;  // names as set; looked up ignoring case
  std::wstring Variable(const std::wstring& name) const override {
    for (const auto& [key, value] : variables)
      if (std::ranges::equal(key, name, [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); }))
        return value;
    return {};
  }
};

class FakeProgramStarter : public ProgramStarter {
 public:
  std::vector<std::wstring> started;
  bool fail = false;  // when set, Start throws as for a missing program
  void Start(const std::wstring& path) override {
    if (fail) throw LinkError(L"Le fichier spécifié est introuvable.", 2);
    started.push_back(path);
  }
};

class FakeMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::wstring text, title;
    bool question = false;
  };
  std::vector<Shown> shown;
  std::vector<bool> answers;  // answers to the next questions, in order; Yes when none left
  void Inform(const std::wstring& text, const std::wstring& title) override { shown.push_back({text, title, false}); }
  bool AskYesNo(const std::wstring& text, const std::wstring& title) override {
    shown.push_back({text, title, true});
    const bool answer = answers.empty() || answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    return answer;
  }
  std::wstring Taken() {  // the texts shown since the last call, each followed by "|"
    std::wstring texts;
    for (const Shown& box : shown) texts += box.text + L"|";
    shown.clear();
    return texts;
  }
};

}  // namespace corvane::fakes
