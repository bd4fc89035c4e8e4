// Helpers shared by the tests: temporary directories, whole files, and the
// grey pictures that label files are checked on.
#pragma once

#include <cstdint>
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

// A picture in grey levels, top row first; a pixel below 128 is ink.
struct Grey {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  [[nodiscard]] bool Dark(int x, int y) const;
};
// A PNG file decoded, any colour type turned grey; empty when it cannot be read.
[[nodiscard]] Grey DecodePng(const std::filesystem::path& path);
// The first page of a PDF file as poppler's pdftoppm rasterises it.
[[nodiscard]] Grey RasterisePdf(const std::filesystem::path& pdf, double dpi);

// The box of a picture's ink: left, top, right, bottom, inclusive.
struct InkBox {
  int left = 0, top = 0, right = -1, bottom = -1;
};
[[nodiscard]] InkBox InkOf(const Grey& picture);
// The share of `a`'s ink with ink of `b` at most one pixel away.
[[nodiscard]] double InkCovered(const Grey& a, const Grey& b);

}  // namespace lumo::test
