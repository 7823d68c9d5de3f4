#include "tests/fakes/fake_link.h"

#include <atomic>
#include <random>

namespace corvane::fakes {

FakeLink::FakeLink(const std::string& name) {
  static std::atomic<unsigned> counter{0};
  folder = std::filesystem::temp_directory_path() /
           ("corvane-" + name + "-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(folder);
  paths.settings = {(folder / "Tech.txt").wstring(), (folder / "Tech2.txt").wstring()};
  paths.siomin = (folder / "siomin.sdx").wstring();
  paths.siomin2 = (folder / "siomin2.sdx").wstring();
  paths.sidexisProgram = L"C:\\SIDEXIS\\Sidexis.exe";  // only ever given to the fake starter
  environment.variables[L"COMPUTERNAME"] = L"CABINET1";
}

}  // namespace corvane::fakes
