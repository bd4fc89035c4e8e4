// Helpers shared by the tests: temporary directories and whole-file access.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lumo::test {

// A fresh temporary directory, removed with all it holds when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

[[nodiscard]] std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
[[nodiscard]] std::string Repeat(std::string_view piece, int times);
// The names in `directory`, sorted.
[[nodiscard]] std::vector<std::string> Entries(const std::filesystem::path& directory);

}  // namespace lumo::test
