// A fresh, empty device home for one test: VDEVICE_HOME points at a new temporary folder for as
// long as the object lives, and the folder is removed afterwards. Tests run one per process
// (gtest_discover_tests), so the device layer's per-process state starts fresh with it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace test_support {

class ScopedDeviceHome {
 public:
  ScopedDeviceHome() {
    char pattern[] = "/tmp/vdevice-test-XXXXXX";
    path_ = mkdtemp(pattern);
    setenv("VDEVICE_HOME", path_.c_str(), 1);
  }
  ~ScopedDeviceHome() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScopedDeviceHome(const ScopedDeviceHome&) = delete;
  ScopedDeviceHome& operator=(const ScopedDeviceHome&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace test_support
