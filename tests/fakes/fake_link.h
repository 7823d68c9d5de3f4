#pragma once
// The link as the native tests run it: a fresh temporary folder holding the settings and hand-off files, the portable
// files and code page, and recording fakes for the rest (clock, environment, program starts, message boxes, desktop,
// drawing); and the fixture most tests share, a practice window showing a patient.
#include <gtest/gtest.h>

#include <atomic>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include "link/command_failure.h"
#include "link/fixed_paths.h"
#include "platform/platform.h"
#include "tests/fakes/fake_desktop.h"

namespace corvane::fakes {

class FakeClock : public Clock {
 public:
  LocalTime now{2027, 1, 15, 9, 30, 15};
  std::uint64_t ticks = 0;
  LocalTime Now() const override { return now; }
  std::uint64_t Ticks() const override { return ticks; }
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
  bool fail = false;  // when set, Start throws as the system does for a missing program
  void Start(const std::wstring& path) override {
    if (fail)
      throw LinkError(L"Impossible de démarrer le programme « " + path + L" » : Le fichier spécifié est introuvable. ",
                      2);
    started.push_back(path);
  }
};

class FakeMessageBoxes : public MessageBoxes {
 public:
  struct Shown { std::wstring text, title; };
  std::vector<Shown> shown;
  std::vector<bool> answers;  // answers to the next questions, in order; a question left without one fails
  std::function<void()> whileUp;  // run while each question is up, as the clicks its loop dispatches are
  void Inform(const std::wstring& text, const std::wstring& title) override { shown.push_back({text, title}); }
  bool AskYesNo(const std::wstring& text, const std::wstring& title) override {
    Inform(text, title);
    if (whileUp) whileUp();
    if (answers.empty()) return ADD_FAILURE() << "no answer queued for the question: " << text, false;
    const bool answer = answers.front();
    return answers.erase(answers.begin()), answer;
  }
  std::wstring Taken() {  // the texts shown since the last call, each followed by "|"
    std::wstring texts;
    for (const Shown& box : shown) texts += box.text + L"|";
    shown.clear();
    return texts;
  }
};


// What the user is shown when `command` fails as a command of the link does, or "" when it does not.
template <class Command>
std::wstring FailureOf(Command command) {
  try {
    command();
  } catch (const LinkError& error) {
    return FailureText(error);
  }
  return {};
}

struct FakeLink {
  // `name` tells the folders of different suites apart; tests may run side by side.
  explicit FakeLink(const std::string& name) {
    static std::atomic<unsigned> counter{0};
    folder = std::filesystem::temp_directory_path() /
             ("corvane-" + name + "-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder);
    paths = {{(folder / "Tech.txt").wstring(), (folder / "Tech2.txt").wstring()}, (folder / "siomin.sdx").wstring(),
             (folder / "siomin2.sdx").wstring(), kSidexisExe};  // kSidexisExe: only ever given to the fake starter
    environment.variables[L"COMPUTERNAME"] = L"CABINET1";
  }
  ~FakeLink() { std::error_code ignored; std::filesystem::remove_all(folder, ignored); }
  FakeLink(const FakeLink&) = delete;
  FakeLink& operator=(const FakeLink&) = delete;

  // A file's bytes, "<missing>" when there is none; a file written whole.
  static std::string Read(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
  }
  static void Write(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
  }
  void WriteSettings(const std::vector<std::string>& lines) {  // both files, CR LF after each line
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    for (const std::wstring& path : {paths.settings.tech, paths.settings.tech2}) Write(path, bytes);
  }
  // A practice window whose Edit control 1000 + n shows `shown[n]`, and both settings files
  // naming it: entry n "1000 + n" for each shown field, entry 15 `flag`, its class and title.
  WindowHandle OpenPractice(const std::string& className, const std::string& title,
                            const std::map<int, std::string>& shown, const std::string& flag = "0") {
    const WindowHandle practice = desktop.AddTopLevel(className, title);
    settingsLines.assign(kEntryCount, "");
    for (const auto& [entry, value] : shown) {
      controls[entry] = desktop.AddChild(practice, "Edit", 1000 + entry, value);
      settingsLines[static_cast<std::size_t>(entry - 1)] = std::to_string(1000 + entry);
    }
    settingsLines[14] = flag, settingsLines[15] = className, settingsLines[16] = title, WriteSettings(settingsLines);
    return practice;
  }

  std::filesystem::path folder;
  LinkPaths paths;  // Tech.txt, Tech2.txt, siomin.sdx, siomin2.sdx, Sidexis.exe in `folder`
  PortableFileSystem files;
  PortableText text;
  FakeClock clock;
  FakeEnvironment environment;  // COMPUTERNAME is CABINET1
  FakeProgramStarter programs;
  FakeMessageBoxes messages;
  FakeDesktop desktop;
  FakeGdi gdi;
  Platform platform{files, text, clock, environment, programs, messages, desktop, gdi, desktop};
  SharedState state;
  std::vector<std::string> settingsLines;  // as OpenPractice wrote them
  std::map<int, WindowHandle> controls;    // by entry, as OpenPractice made them
};

}  // namespace corvane::fakes
