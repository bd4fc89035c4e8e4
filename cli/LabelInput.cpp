// Turns lumo-render's INPUT into label text the way the window takes a drop,
// a paste or its start-up.
#include "LabelInput.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "FolderListing.h"
#include "TextIntake.h"

namespace lumo::cli {
namespace {

// The composer keeps at most `capacity` bytes and looks at one byte more to
// trim; a UTF-8 character gives at least one byte, so this much input always
// decides the label. Without a capacity the text is not trimmed and only this
// ceiling bounds it.
constexpr std::size_t kUntrimmedPasteLimit = std::size_t{64} << 20;

std::size_t PasteLimit(std::int32_t capacity) {
  if (capacity < 1) return kUntrimmedPasteLimit;
  return std::min(kUntrimmedPasteLimit, (static_cast<std::size_t>(capacity) + 1) * 4 + 3);
}

LabelInput ReadPaste(std::int32_t capacity) {
  LabelInput result;
  const std::size_t limit = PasteLimit(capacity);
  std::string bytes;
  char block[64 * 1024];
  // Nothing after the first NUL byte counts, so reading stops there.
  bool sawNul = false;
  while (bytes.size() < limit && !sawNul) {
    const ssize_t got = ::read(STDIN_FILENO, block, std::min(sizeof block, limit - bytes.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = std::string("cannot read standard input: ") + std::strerror(errno);
      return result;
    }
    if (got == 0) break;
    bytes.append(block, static_cast<std::size_t>(got));
    sawNul = std::memchr(block, '\0', static_cast<std::size_t>(got)) != nullptr;
  }
  result.text = PastedText(bytes);
  result.ok = true;
  return result;
}

// Why `path` cannot be listed, or empty when it is a folder that opens.
std::string WhyNotListable(const std::string& path) {
  DIR* folder = ::opendir(path.c_str());
  if (folder == nullptr) return std::strerror(errno);
  ::closedir(folder);
  return {};
}

}  // namespace

LabelInput ReadLabelInput(const std::optional<std::string>& input, std::int32_t capacity) {
  LabelInput result;
  if (!input) {
    result.text = std::string(kStartupPrompt);
    result.ok = true;
    return result;
  }
  if (*input == "-") return ReadPaste(capacity);
  if (HasTxtExtension(*input)) {
    TextFileResult file = ReadTextFile(*input, capacity);
    result.ok = file.ok;
    result.text = std::move(file.text);
    result.error = std::move(file.error);
    return result;
  }
  result.text = BuildFolderListing(*input + "/*");
  result.ok = true;
  if (result.text.empty()) {
    if (const std::string why = WhyNotListable(*input); !why.empty()) {
      result.warning =
          "nothing could be listed from " + *input + ": " + why + "; the label is empty";
    }
  }
  return result;
}

}  // namespace lumo::cli
