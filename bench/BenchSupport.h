// What the benchmarks share: a scratch folder and the text of a full label.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "LabelText.h"

namespace lumo::bench {

// A folder for the label files, removed with what is in it at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumo-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

// 9,000 bytes (the default capacity) of Japanese in lines of 73 characters,
// so both halves fill all their thirty rings: about 4,400 glyphs drawn.
inline std::string FullLabelText() {
  const std::string sentence = lumo::LabelTextFromUtf8(
      "円盤のラベルに文字を同心円状に並べ、一文字ずつ向きを変えて描きます。"
      "漢字とかなとカタカナ、記号も混ぜて試験します。").bytes;
  std::string text;
  std::size_t next = 0;
  while (text.size() < 9000) {
    for (int n = 0; n < 73 && text.size() < 9000; ++n) {
      text.append(sentence, next, 2);
      next = (next + 2) % sentence.size();
    }
    text += "\r\n";
  }
  text.resize(9000);
  return text;
}

}  // namespace lumo::bench
