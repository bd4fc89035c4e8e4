// Which encoding a text file's bytes are in: UTF-8, as Linux writes text, or
// code page 932, as the Windows programs lumo's files come from wrote it.
#pragma once

#include <string_view>

namespace lumo {

enum class TextEncoding { Utf8, CodePage932 };

// The encoding of a text file whose first bytes are `start` (`wholeFile` when
// the file ends there; otherwise a character the read cut does not count
// against either encoding).
//
// Code page 932 prose is never valid UTF-8 (its lead bytes 0x81-0x9F cannot
// start a UTF-8 sequence), and UTF-8 Japanese read as code page 932 is
// garbage, so:
// - bytes that are not valid UTF-8 are code page 932;
// - plain ASCII, and any UTF-8 character from U+0800 up (three or four bytes:
//   kana, kanji, a byte-order mark, emoji), are UTF-8;
// - so are bytes that are not valid code page 932 as glibc decodes it.
// What is left is ASCII with two-byte UTF-8 characters (accented Latin,
// Greek, Cyrillic, ...), each of which is also a pair of half-width katakana
// in code page 932: "Café" is "Cafﾃｩ". The characters read as UTF-8 decide:
// - a word (a run of letters) holding one of them counts for UTF-8 when it
//   is a word of one script: accented Latin among plain letters ("Café"), or
//   two or more Greek, Cyrillic, ... letters;
// - any other such word counts for code page 932: one that mixes scripts,
//   has only accented Latin letters ("ýý" is ﾃｽﾃｽ) or is a single Greek,
//   Cyrillic, ... letter (ﾎｼ is "μ");
// - a symbol (£, °, ©, ...) counts for UTF-8, a C1 control (U+0080-U+009F)
//   for code page 932.
// The larger count wins. On a tie, Windows line ends (CR LF, and no lone LF)
// say code page 932; anything else says UTF-8.
[[nodiscard]] TextEncoding GuessTextEncoding(std::string_view start, bool wholeFile);

}  // namespace lumo
