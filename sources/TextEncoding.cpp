// Which encoding a text file's bytes are in; the rule is in TextEncoding.h.
#include "TextEncoding.h"

#include <algorithm>
#include <cstddef>

#include "CodePage932.h"
#include "Utf8.h"

namespace lumo {
namespace {

// What a character below U+0800 is to a word: a letter of some script (the
// kinds from Latin on), a combining mark that belongs to the letter before
// it, or no part of one.
enum class Kind {
  Separator,
  Digit,
  Symbol,
  Control,
  Mark,
  Latin,
  Greek,
  Cyrillic,
  Armenian,
  Hebrew,
  Arabic,
  Syriac,
  Thaana,
  Nko
};

bool IsLetter(Kind kind) { return kind >= Kind::Latin; }

Kind KindOf(char32_t cp) {
  if (cp < 0x80) {
    if ((cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z')) return Kind::Latin;
    return cp >= '0' && cp <= '9' ? Kind::Digit : Kind::Separator;
  }
  // Each block from its first code point to the next one's; IPA and the
  // spacing modifiers go with Latin, and a script's own points and harakat
  // with its letters.
  struct Block {
    char32_t first;
    Kind kind;
  };
  constexpr Block kBlocks[] = {
      {0x80, Kind::Control}, {0xA0, Kind::Separator}, {0xA1, Kind::Symbol},
      {0xC0, Kind::Latin},   {0xD7, Kind::Symbol},    {0xD8, Kind::Latin},
      {0xF7, Kind::Symbol},  {0xF8, Kind::Latin},     {0x300, Kind::Mark},
      {0x370, Kind::Greek},  {0x400, Kind::Cyrillic}, {0x530, Kind::Armenian},
      {0x590, Kind::Hebrew}, {0x600, Kind::Arabic},   {0x700, Kind::Syriac},
      {0x750, Kind::Arabic}, {0x780, Kind::Thaana},   {0x7C0, Kind::Nko},
  };
  Kind kind = Kind::Separator;
  for (const Block& block : kBlocks) {
    if (cp < block.first) break;
    kind = block.kind;
  }
  return kind;
}

// A run of letters and the marks on them, as far as it has been read.
struct Word {
  int letters = 0;
  bool plain = false;    // holds an ASCII letter
  bool twoByte = false;  // holds a character beyond ASCII
  bool odd = false;      // mixes scripts
  Kind script = Kind::Separator;

  void Add(char32_t cp, Kind kind) {
    twoByte |= cp >= 0x80;
    if (kind == Kind::Mark) return;
    plain |= cp < 0x80;
    odd |= letters > 0 && kind != script;
    script = kind;
    ++letters;
  }

  // +1 for UTF-8, -1 for code page 932, 0 for a word of plain letters.
  [[nodiscard]] int Weight() const {
    if (!twoByte) return 0;
    if (odd) return -1;
    if (script == Kind::Latin) return plain ? 1 : -1;
    return letters > 1 ? 1 : -1;
  }
};

// The sum of what the words and symbols of `text` (valid UTF-8 below U+0800)
// say: above 0 for UTF-8, below for code page 932.
int Weigh(std::string_view text) {
  int score = 0;
  Word word;
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    pos += utf8::Decode(text, pos, cp);
    const Kind kind = KindOf(cp);
    if (IsLetter(kind) || kind == Kind::Mark) {
      word.Add(cp, kind);
      continue;
    }
    score += word.Weight();
    word = Word{};
    if (kind == Kind::Symbol) ++score;
    if (kind == Kind::Control) --score;
  }
  return score + word.Weight();
}

// Whether glibc decodes every character of `bytes`; a lead byte that the
// read cut off from its trail byte is no fault.
bool IsCodePage932(std::string_view bytes, bool wholeFile) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = cp932::CharLength(bytes, pos);
    if (pos + length > bytes.size()) return !wholeFile;
    if (cp932::ToCodePoint(bytes.substr(pos, length)) == cp932::kNoCodePoint) return false;
    pos += length;
  }
  return true;
}

// CR LF ends lines, and no LF ends one alone: the way of Windows.
bool HasWindowsLineEnds(std::string_view text) {
  bool crLf = false;
  for (std::size_t pos = text.find('\n'); pos != std::string_view::npos;
       pos = text.find('\n', pos + 1)) {
    if (pos == 0 || text[pos - 1] != '\r') return false;
    crLf = true;
  }
  return crLf;
}

}  // namespace

TextEncoding GuessTextEncoding(std::string_view start, bool wholeFile) {
  const std::string_view text = wholeFile ? start : utf8::WithoutCutSequence(start);
  char32_t highest = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    const std::size_t length = utf8::Decode(text, pos, cp);
    if (length == 0) return TextEncoding::CodePage932;
    highest = std::max(highest, cp);
    pos += length;
  }
  if (highest < 0x80 || highest >= 0x800 || !IsCodePage932(start, wholeFile)) {
    return TextEncoding::Utf8;
  }
  const int score = Weigh(text);
  if (score == 0) {
    return HasWindowsLineEnds(text) ? TextEncoding::CodePage932 : TextEncoding::Utf8;
  }
  return score > 0 ? TextEncoding::Utf8 : TextEncoding::CodePage932;
}

}  // namespace lumo
