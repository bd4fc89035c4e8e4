// Turns lumo-render's INPUT into label text the way the window takes a drop,
// a paste or its start-up.
#include "LabelInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "FolderListing.h"
#include "Io.h"
#include "TextIntake.h"

namespace lumo::cli {
namespace {

// The composer keeps at most `capacity` bytes and looks at one byte more to
// trim; a UTF-8 character gives at least one byte, so this much input always
// decides the label. Without a capacity the text is not trimmed and the
// ceiling of any text bounds it.
constexpr std::size_t kUntrimmedPasteLimit = (std::size_t{kTextCeiling} + 1) * 4 + 3;

std::size_t PasteLimit(std::int32_t capacity) {
  if (capacity < 1) return kUntrimmedPasteLimit;
  return (static_cast<std::size_t>(TextLimit(capacity)) + 1) * 4 + 3;
}

Result<LabelInput> ReadPaste(std::int32_t capacity) {
  const std::size_t limit = PasteLimit(capacity);
  std::string bytes;
  char block[64 * 1024];
  // Nothing after the first NUL byte counts, so reading stops there.
  bool sawNul = false;
  while (bytes.size() < limit && !sawNul) {
    const ssize_t got = RetryOnEintr(
        [&] { return ::read(STDIN_FILENO, block, std::min(sizeof block, limit - bytes.size())); });
    if (got < 0) {
      return Error{std::string("cannot read standard input: ") + std::strerror(errno), errno};
    }
    if (got == 0) break;
    bytes.append(block, static_cast<std::size_t>(got));
    sawNul = std::memchr(block, '\0', static_cast<std::size_t>(got)) != nullptr;
  }
  return LabelInput{PastedText(bytes), {}};
}

}  // namespace

Result<LabelInput> ReadLabelInput(const std::optional<std::string>& input, std::int32_t capacity) {
  if (!input) return LabelInput{std::string(kStartupPrompt), {}};
  if (*input == "-") return ReadPaste(capacity);
  if (HasTxtExtension(*input)) {
    Result<std::string> file = ReadTextFile(*input, capacity);
    if (!file) return file.error();
    return LabelInput{std::move(*file), {}};
  }
  Result<std::string> listing = BuildFolderListing(*input);
  // What exists but cannot be listed makes an empty label, as a drop on the
  // window does; what does not exist at all is a mistake.
  struct stat info {};
  if (!listing && ::lstat(input->c_str(), &info) != 0 && errno == ENOENT) {
    return Error{"cannot read " + *input + ": " + std::strerror(ENOENT), ENOENT};
  }
  if (!listing) {
    return LabelInput{{},
                      "nothing could be listed from " + *input + ": " +
                          std::strerror(listing.error().errnum) + "; the label is empty"};
  }
  return LabelInput{std::move(*listing), {}};
}

}  // namespace lumo::cli
