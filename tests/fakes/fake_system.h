#pragma once
// Recording stand-ins for the small system services.
#include <map>
#include <string>
#include <vector>

#include "platform/link_error.h"
#include "platform/clock.h"
#include "platform/environment.h"
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
  std::wstring Variable(const std::wstring& name) const override;
};

class FakeProgramStarter : public ProgramStarter {
 public:
  std::vector<std::wstring> started;
  bool fail = false;  // when set, Start throws as for a missing program
  void Start(const std::wstring& path) override;
};

class FakeMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::wstring text;
    std::wstring title;
    bool question = false;
  };
  std::vector<Shown> shown;
  std::vector<bool> answers;  // answers to the next questions, in order; Yes when none left
  void Inform(const std::wstring& text, const std::wstring& title) override { shown.push_back({text, title, false}); }
  bool AskYesNo(const std::wstring& text, const std::wstring& title) override;
};

}  // namespace corvane::fakes
