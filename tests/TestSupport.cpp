// Helpers shared by the tests.
#include "TestSupport.h"

#include <png.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lumo::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "lumo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  while (times-- > 0) out += piece;
  return out;
}

std::vector<std::string> Entries(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool Grey::Dark(int x, int y) const {
  return x >= 0 && y >= 0 && x < width && y < height &&
         pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)] < 128;
}

Grey DecodePng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
  image.format = PNG_FORMAT_GRAY;
  Grey grey{static_cast<int>(image.width), static_cast<int>(image.height),
            std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (png_image_finish_read(&image, nullptr, grey.pixels.data(), 0, nullptr) == 0) return {};
  return grey;
}

Grey RasterisePdf(const fs::path& pdf, double dpi) {
  const fs::path page = pdf.string() + "-page";
  const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -gray -png -singlefile '" +
                              pdf.string() + "' '" + page.string() + "'";
  if (std::system(command.c_str()) != 0) return {};
  return DecodePng(page.string() + ".png");
}

InkBox InkOf(const Grey& picture) {
  InkBox ink{INT_MAX, INT_MAX, -1, -1};
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (!picture.Dark(x, y)) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x),
             std::max(ink.bottom, y)};
    }
  }
  return ink;
}

double InkCovered(const Grey& a, const Grey& b) {
  std::size_t dark = 0;
  std::size_t covered = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (!a.Dark(x, y)) continue;
      ++dark;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy) {
        for (int dx = -1; dx <= 1 && !near; ++dx) near = b.Dark(x + dx, y + dy);
      }
      covered += near ? 1 : 0;
    }
  }
  return dark == 0 ? 0.0 : static_cast<double>(covered) / static_cast<double>(dark);
}

}  // namespace lumo::test
