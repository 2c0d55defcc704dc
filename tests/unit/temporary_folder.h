// A fresh folder per test, named after the test, with small files written into it on demand.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>

namespace vanalyzer::testing_support {

class TemporaryFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("vanalyzer-") + ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // A file of `bytes` bytes under the folder; its path.
  std::string write(const std::string& name, std::size_t bytes) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
    return path.string();
  }

  std::filesystem::path folder_;
};

}  // namespace vanalyzer::testing_support
