#include "tests/fakes/fake_link.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

namespace corvane::fakes {

FakeLink::FakeLink(const std::string& name) {
  static std::atomic<unsigned> counter{0};
  folder = std::filesystem::temp_directory_path() /
           ("corvane-" + name + "-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  paths.settings = {(folder / "Tech.txt").wstring(), (folder / "Tech2.txt").wstring()};
  paths.siomin = (folder / "siomin.sdx").wstring();
  paths.siomin2 = (folder / "siomin2.sdx").wstring();
  paths.sidexisProgram = L"C:\\SIDEXIS\\Sidexis.exe";  // only ever given to the fake starter
  environment.variables[L"COMPUTERNAME"] = L"CABINET1";
}

FakeLink::~FakeLink() {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

std::string FakeLink::Read(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

void FakeLink::Write(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

void FakeLink::WriteSettings(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  Write(paths.settings.tech, bytes);
  Write(paths.settings.tech2, bytes);
}

WindowHandle FakeLink::OpenPractice(const std::string& className, const std::string& title,
                                    const std::map<int, std::string>& shown, const std::string& flag) {
  const WindowHandle practice = desktop.AddTopLevel(className, title);
  settingsLines.assign(kEntryCount, "");
  for (const auto& [entry, value] : shown) {
    controls[entry] = desktop.AddChild(practice, "Edit", 1000 + entry, value);
    settingsLines[static_cast<std::size_t>(entry - 1)] = std::to_string(1000 + entry);
  }
  settingsLines[14] = flag;
  settingsLines[15] = className;
  settingsLines[16] = title;
  WriteSettings(settingsLines);
  return practice;
}

}  // namespace corvane::fakes
