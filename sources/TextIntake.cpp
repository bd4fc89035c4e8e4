// The ways text comes in without a window: the start-up prompt, the ".txt"
// name test, a text file's first bytes, and pasted text.
#include "TextIntake.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "FileStart.h"
#include "Io.h"
#include "TextEncoding.h"
#include "Utf8.h"

namespace lumo {
namespace {

// Code page 932 bytes of the prompt; every character byte is escaped so that
// the source does not depend on the editor's encoding.
constexpr char kPromptBytes[] =
    "\n\n\n\n"
    "\x81\x40\x82\xb1\x82\xb1\x82\xc9\x83\x65\x83\x4c\x83\x58\x83\x67\x81\x45\x83\x74\x83\x40"
    "\x83\x43\x83\x8b\x82\xe2"
    "\r\n"
    "\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x83\x68\x83\x89\x83\x62\x83\x4f\x81\x45\x83\x68"
    "\x83\x8d\x83\x62\x83\x76\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2"
    "\n\r";

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Each LF that no CR precedes made CR LF.
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// UTF-8 text without a leading byte-order mark.
std::string_view WithoutBom(std::string_view utf8) {
  return utf8.starts_with(kUtf8Bom) ? utf8.substr(kUtf8Bom.size()) : utf8;
}

}  // namespace

const std::string_view kStartupPrompt(kPromptBytes, sizeof(kPromptBytes) - 1);

bool HasTxtExtension(std::string_view path) noexcept {
  if (path.size() < 4) return false;
  const std::string_view tail = path.substr(path.size() - 4);
  constexpr std::string_view kTxt = ".txt";
  for (std::size_t i = 0; i < kTxt.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kTxt[i]) return false;
  }
  return true;
}

std::int32_t TextLimit(std::int32_t capacity) noexcept {
  return std::clamp(capacity, 0, kTextCeiling);
}

std::size_t TextFileReadLimit(std::int32_t capacity) noexcept {
  // A UTF-8 character is at most 4 bytes and gives at least one code page
  // 932 byte, so this many bytes (a byte-order mark included) always convert
  // to at least the capacity when the file holds that much.
  return static_cast<std::size_t>(TextLimit(capacity)) * 4 + kUtf8Bom.size();
}

LabelText FromPlatformText(std::string_view utf8) {
  return LabelTextFromUtf8(WithCrLf(WithoutBom(utf8)));
}

LabelText DecodeTextFile(std::string_view start, bool wholeFile, std::int32_t capacity) {
  const auto limit = static_cast<std::size_t>(TextLimit(capacity));
  LabelText text;
  if (GuessTextEncoding(start, wholeFile) == TextEncoding::Utf8) {
    // A character that the read cut in two is no character to convert.
    text = FromPlatformText(wholeFile ? start : utf8::WithoutCutSequence(start));
  } else {
    text.bytes = start;
  }
  text.Truncate(limit);
  return text;
}

Result<LabelText> ReadTextFile(const std::filesystem::path& path, std::int32_t capacity) {
  const Result<FileStart> start = ReadFileStart(path, TextFileReadLimit(capacity));
  if (!start) return start.error();
  return DecodeTextFile(start->bytes, start->wholeFile, capacity);
}

LabelText PastedText(std::string_view utf8) {
  return FromPlatformText(utf8.substr(0, utf8.find('\0')));
}

Result<LabelText> ReadPastedText(int fd, std::int32_t capacity) {
  // The composer keeps at most `capacity` bytes and looks at one byte more to
  // trim; a UTF-8 character gives at least one byte, so this much input always
  // decides the label. Without a capacity the ceiling of any text bounds it.
  const std::int32_t kept = capacity < 1 ? kTextCeiling : TextLimit(capacity);
  const std::size_t limit = (static_cast<std::size_t>(kept) + 1) * 4 + kUtf8Bom.size();
  std::string bytes;
  char block[64 * 1024];
  // Nothing after the first NUL byte counts, so reading stops there.
  bool sawNul = false;
  while (bytes.size() < limit && !sawNul) {
    const ssize_t got = RetryOnEintr(
        [&] { return ::read(fd, block, std::min(sizeof block, limit - bytes.size())); });
    if (got < 0) return Error(ErrorReason::Unreadable, errno);
    if (got == 0) break;
    bytes.append(block, static_cast<std::size_t>(got));
    sawNul = std::memchr(block, '\0', static_cast<std::size_t>(got)) != nullptr;
  }
  // Line ends made CR LF can make the text longer than what was read.
  LabelText text = PastedText(bytes);
  text.Truncate(kTextCeiling);
  return text;
}

}  // namespace lumo
