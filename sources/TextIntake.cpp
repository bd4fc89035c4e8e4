// The ways text comes in without a window: the start-up prompt, the ".txt"
// name test, a text file's first bytes, and pasted text.
#include "TextIntake.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#include "FileStart.h"
#include "Io.h"
#include "TextEncoding.h"
#include "CodePage932.h"
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

namespace {

// What FromPlatformText would make of `utf8` (without a byte-order mark),
// counted without building it: most text has a form for every character.
TextBeyond CountPlatformText(std::string_view utf8) {
  TextBeyond count;
  char32_t previous = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t cp = static_cast<unsigned char>(utf8[pos]);
    if (cp < 0x80) {  // ASCII is its own code page 932 form
      ++count.bytes;
      ++pos;
    } else if (const std::size_t length = utf8::Decode(utf8, pos, cp); length == 0) {
      cp = U'?';
      ++count.bytes;
      ++pos;
    } else {
      const std::optional<std::uint16_t> code = cp932::FromCodePoint(cp);
      if (!code) {
        const LabelText converted = LabelTextFromUtf8(WithCrLf(utf8));
        return {converted.bytes.size(), CountCharacters(converted.bytes), false};
      }
      count.bytes += *code > 0xFF ? 2 : 1;
      pos += length;
    }
    count.bytes += cp == U'\n' && previous != U'\r';  // the CR it gets
    count.characters += cp != U'\r' && cp != U'\n';
    previous = cp;
  }
  return count;
}

// A text as it is read, block by block: at most `limit` bytes of label text
// are kept, and what follows is converted piece by piece only to be counted,
// up to kCountedInputBytes of input. UTF-8 is cut into pieces where no
// character, line end or grapheme cluster is cut.
class TextReader {
 public:
  TextReader(bool utf8, std::size_t limit) : utf8_(utf8), limit_(limit) {}

  // False once no more is wanted.
  bool Take(std::string_view bytes) {
    if (bytes.size() > kCountedInputBytes - read_) {
      bytes = bytes.substr(0, kCountedInputBytes - read_);
      more_ = true;
    }
    read_ += bytes.size();
    pending_ += bytes;
    if (pending_.size() >= kPieceBytes) Convert(SplitPoint());
    return !more_;
  }

  LabelText Finish() {
    Convert(pending_.size());
    text_.beyond.more = more_;
    return std::move(text_);
  }

 private:
  static constexpr std::size_t kPieceBytes = 1 << 20;

  // Where the pending bytes can be cut: after a line end, else before an
  // ASCII character (which starts a cluster), else before any UTF-8
  // character; for code page 932, after its last whole character.
  [[nodiscard]] std::size_t SplitPoint() const {
    const std::string_view bytes = pending_;
    if (!utf8_) {
      std::size_t end = 0;
      while (end + cp932::CharLength(bytes, end) <= bytes.size() && end < bytes.size()) {
        end += cp932::CharLength(bytes, end);
      }
      return end;
    }
    if (const std::size_t lf = bytes.rfind('\n'); lf != std::string_view::npos) return lf + 1;
    for (std::size_t at = bytes.size() - 1; at > 0; --at) {
      const auto byte = static_cast<unsigned char>(bytes[at]);
      if (byte < 0x80 && byte != '\r') return at;
    }
    std::size_t at = bytes.size() - 1;
    while (at > 0 && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80) --at;
    return at > 0 ? at : bytes.size();
  }

  void Convert(std::size_t end) {
    std::string_view piece = std::string_view(pending_).substr(0, end);
    if (utf8_ && first_) piece = WithoutBom(piece);
    first_ = false;
    if (text_.bytes.size() < limit_) {
      text_.Append(utf8_ ? LabelTextFromUtf8(WithCrLf(piece)) : LabelText(std::string(piece)));
      text_.Truncate(limit_);
    } else {
      const TextBeyond more = utf8_ ? CountPlatformText(piece)
                                    : TextBeyond{piece.size(), CountCharacters(piece), false};
      text_.beyond.bytes += more.bytes;
      text_.beyond.characters += more.characters;
    }
    pending_.erase(0, end);
  }

  bool utf8_;
  std::size_t limit_;
  bool first_ = true;
  std::size_t read_ = 0;
  bool more_ = false;
  std::string pending_;
  LabelText text_;
};

}  // namespace

LabelText DecodeTextFile(std::string_view start, bool wholeFile, std::int32_t capacity) {
  // A character that the read cut in two is no character to convert.
  const bool utf8 = GuessTextEncoding(start, wholeFile) == TextEncoding::Utf8;
  TextReader reader(utf8, static_cast<std::size_t>(TextLimit(capacity)));
  reader.Take(utf8 && !wholeFile ? utf8::WithoutCutSequence(start) : start);
  return reader.Finish();
}

Result<LabelText> ReadTextFile(const std::filesystem::path& path, std::int32_t capacity) {
  // The encoding is told from the start; the rest is read on only to count.
  std::optional<TextReader> reader;
  const auto begin = [&](const FileStart& start) {
    const bool utf8 = GuessTextEncoding(start.bytes, start.wholeFile) == TextEncoding::Utf8;
    reader.emplace(utf8, static_cast<std::size_t>(TextLimit(capacity)));
    reader->Take(start.bytes);
  };
  const Result<FileStart> start =
      ReadFileStart(path, TextFileReadLimit(capacity), [&](const FileStart& first, auto block) {
        if (!reader) begin(first);
        return reader->Take(block);
      });
  if (!start) return start.error();
  if (!reader) begin(*start);
  return reader->Finish();
}

LabelText PastedText(std::string_view utf8) {
  TextReader reader(true, kTextCeiling);
  reader.Take(utf8.substr(0, utf8.find('\0')));
  return reader.Finish();
}

Result<LabelText> ReadPastedText(int fd, std::int32_t capacity) {
  // The composer keeps at most `capacity` bytes; the rest is only counted.
  // Without a capacity the ceiling of any text bounds what is kept.
  TextReader reader(true, static_cast<std::size_t>(capacity < 1 ? kTextCeiling : TextLimit(capacity)));
  char block[64 * 1024];
  while (true) {
    const ssize_t got = RetryOnEintr([&] { return ::read(fd, block, sizeof block); });
    if (got < 0) return Error(ErrorReason::Unreadable, errno);
    if (got == 0) break;
    // Nothing after the first NUL byte counts, so reading stops there.
    const std::string_view bytes(block, static_cast<std::size_t>(got));
    const std::size_t nul = bytes.find('\0');
    if (!reader.Take(bytes.substr(0, nul)) || nul != std::string_view::npos) break;
  }
  return reader.Finish();
}

}  // namespace lumo
