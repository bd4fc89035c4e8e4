// The ways text comes in without a window: the start-up prompt, the ".txt"
// name test, a text file's first bytes, and pasted text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "LabelText.h"
#include "Result.h"

namespace lumo {

// The prompt set at start-up (76 bytes, code page 932): four LF, an
// ideographic space, two lines of words joined by CR LF, closed by LF CR.
extern const std::string_view kStartupPrompt;

// True when the last four bytes of `path` are ".txt" in any letter case.
[[nodiscard]] bool HasTxtExtension(std::string_view path) noexcept;

// No text longer than this is ever read or kept, whatever capacity a settings
// file gives: far above the 47,400 bytes of the largest label the settings
// dialog can describe (79 rings of 300 two-byte characters), and small enough
// that no input can make lumo hold much memory.
inline constexpr std::int32_t kTextCeiling = 1 << 20;

// What a text-file intake keeps of `capacity`: at most kTextCeiling.
[[nodiscard]] std::int32_t TextLimit(std::int32_t capacity) noexcept;

// UTF-8 text as the platform hands it over (clipboard, standard input, a UTF-8
// file) as label text (LabelTextFromUtf8): a leading byte-order mark dropped,
// each LF that no CR precedes made CR LF, as the original platform's
// clipboard does.
[[nodiscard]] LabelText FromPlatformText(std::string_view utf8);

// The label text of a text file whose first bytes are `start` (`wholeFile`
// when the file ends there): converted as FromPlatformText when
// GuessTextEncoding finds UTF-8 (plain ASCII included), otherwise byte for
// byte, as code page 932. Cut to `capacity` bytes; the rest of `start` is
// counted in `beyond`.
[[nodiscard]] LabelText DecodeTextFile(std::string_view start, bool wholeFile,
                                         std::int32_t capacity);

// Beyond the text kept, an intake reads on only to count what did not fit,
// up to this much input; past it the count says "more".
inline constexpr std::size_t kCountedInputBytes = std::size_t{64} << 20;

// How many bytes of a file DecodeTextFile needs to fill `capacity`.
[[nodiscard]] std::size_t TextFileReadLimit(std::int32_t capacity) noexcept;

// Reads a text file's first bytes, as many as can reach the label, and
// decodes them (DecodeTextFile) for `capacity`; the rest is read on only to be
// counted in `beyond`. Only regular files are read: a folder, a named pipe, a
// device, a missing or unreadable file gives an error.
[[nodiscard]] Result<LabelText> ReadTextFile(const std::filesystem::path& path,
                                               std::int32_t capacity);

// Pasted (clipboard) text: UTF-8 up to the first NUL, as FromPlatformText,
// at most the ceiling of any text kept.
[[nodiscard]] LabelText PastedText(std::string_view utf8);

// Text handed over on a stream (lumo-render's standard input) taken as a
// paste: as much kept as a label of `capacity` holds (below 1: the ceiling of
// any text), the rest read on only to be counted. Unreadable with the errno,
// `path` empty, when the stream cannot be read.
[[nodiscard]] Result<LabelText> ReadPastedText(int fd, std::int32_t capacity);

}  // namespace lumo
