// The ways text comes in without a window: the start-up prompt, the ".txt"
// name test, a text file's first bytes, and pasted text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "Result.h"

namespace lumo {

// The prompt set at start-up (76 bytes, code page 932): four LF, an
// ideographic space, two lines of words joined by CR LF, closed by LF CR.
extern const std::string_view kStartupPrompt;

// True when the last four bytes of `path` are ".txt" in any letter case.
[[nodiscard]] bool HasTxtExtension(std::string_view path) noexcept;

// Reads the first `capacity` bytes of a text file. A file that is valid UTF-8
// with at least one multi-byte sequence is converted to code page 932 (a
// leading byte-order mark dropped) before it is cut; any other file is taken
// byte for byte. Only the start that can reach the label is read (at most
// 4 x capacity + 3 bytes, as a UTF-8 character gives at least one byte), and
// the UTF-8 test looks at that start. A folder, a missing or unreadable file
// gives an error. The text is code page 932, at most `capacity` bytes.
[[nodiscard]] Result<std::string> ReadTextFile(const std::filesystem::path& path,
                                               std::int32_t capacity);

// Pasted (clipboard) text: UTF-8 up to the first NUL, converted to code page 932.
[[nodiscard]] std::string PastedText(std::string_view utf8);

}  // namespace lumo
