// A fresh folder per test, removed afterwards; paths in the platform's own form.
#pragma once
#include <filesystem>
#include <string>
#include <vector>
#include <algorithm>
#include <atomic>

namespace vsmr {

class TempDir {
 public:
  TempDir() {
    static std::atomic<unsigned> serial{0};
    auto base = std::filesystem::temp_directory_path();
    path_ = base / ("vsmr-test-" + std::to_string(Pid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder as a narrow string (on Windows with backslashes).
  std::string Path() const { return path_.string(); }
  // A file inside the folder; `name` may use '/' as separator.
  std::string File(const std::string& name) const {
    return (path_ / std::filesystem::path(name).make_preferred()).string();
  }
  // The names in the folder, sorted.
  std::vector<std::string> List() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  static long Pid();
  std::filesystem::path path_;
};

}  // namespace vsmr
