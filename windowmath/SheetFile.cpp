// Reading and writing the sheets file, line by line, without any toolkit.
#include "SheetFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <system_error>

#include "FileStart.h"
#include "Io.h"
#include "SafeWrite.h"
#include "UserConfig.h"

namespace lumo {
namespace {

constexpr std::string_view kHeader =
    "# lumo's label sheets: your own sheets of disc labels, beside the built-in\n"
    "# a4-2, a4-2-small-hole, letter-2, centred-a4 and centred-letter. You may\n"
    "# edit it by hand; the window rewrites it when you edit sheets there, and\n"
    "# keeps no comments of yours.\n"
    "#\n"
    "# A sheet starts with its name in brackets (letters, digits, '-' and '_'),\n"
    "# then one key a line, in millimetres from the page's top-left corner:\n"
    "#   title = what the window shows (may be left out)\n"
    "#   page = width height\n"
    "#   disc = each place's outer diameter\n"
    "#   hole = its centre hole's diameter (15 when left out)\n"
    "#   position = centre across, centre down (one line a place, in order)\n"
    "# Lines starting with # are comments.\n";

enum class Key { Title, Page, Disc, Hole, Position };
constexpr std::array<std::pair<std::string_view, Key>, 5> kKeys{{
    {"title", Key::Title},
    {"page", Key::Page},
    {"disc", Key::Disc},
    {"hole", Key::Hole},
    {"position", Key::Position},
}};

// A sheet being read, with the line each of its values came from (0: none).
struct Draft {
  Sheet sheet;
  int nameLine = 0;
  std::array<int, kKeys.size()> keyLines{};
  std::vector<int> positionLines;

  int& LineOf(Key key) { return keyLines[static_cast<std::size_t>(key)]; }
};

[[nodiscard]] bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

[[nodiscard]] std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

[[nodiscard]] Error At(ErrorReason reason, int line, std::string_view name) {
  Error error(reason);
  error.line = line;
  error.name = name;
  return error;
}

// Exactly `out.size()` decimal numbers, apart by blanks or a comma.
[[nodiscard]] bool ReadNumbers(std::string_view text, std::span<double> out) {
  std::size_t count = 0;
  while (true) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == ',')) text.remove_prefix(1);
    if (text.empty()) return count == out.size();
    if (count == out.size()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out[count]);
    if (error != std::errc() || (end != text.data() + text.size() && !IsBlank(*end) && *end != ','))
      return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    ++count;
  }
}

// The checks of a sheet complete, each fault put on the line it came from.
[[nodiscard]] Result<void> Finish(Draft& draft, std::vector<Sheet>& sheets) {
  for (const Key needed : {Key::Page, Key::Disc, Key::Position}) {
    if (draft.LineOf(needed) == 0) {
      return At(ErrorReason::SheetIncomplete, draft.nameLine,
                kKeys[static_cast<std::size_t>(needed)].first);
    }
  }
  if (Result<void> checked = CheckSheet(draft.sheet); !checked) {
    Error error = checked.error();
    for (const auto& [word, key] : kKeys) {
      if (error.name == word) error.line = draft.LineOf(key);
    }
    if (error.name == "position" && error.size > 0) {
      error.line = draft.positionLines[error.size - 1];
    }
    // A hole left out is the standard one, which a small disc refuses.
    if (error.line == 0) error.line = draft.LineOf(Key::Disc);
    return error;
  }
  sheets.push_back(std::move(draft.sheet));
  return {};
}

[[nodiscard]] Result<void> TakeValue(Draft& draft, Key key, std::string_view value, int line) {
  int& keyLine = draft.LineOf(key);
  const std::string_view word = kKeys[static_cast<std::size_t>(key)].first;
  if (keyLine != 0 && key != Key::Position) return At(ErrorReason::SheetKeyRepeated, line, word);
  keyLine = line;
  Sheet& sheet = draft.sheet;
  std::array<double, 2> numbers{};
  bool read = true;
  switch (key) {
    case Key::Title:
      sheet.title = value;
      break;
    case Key::Page:
      read = ReadNumbers(value, numbers);
      sheet.pageWidthMm = numbers[0];
      sheet.pageHeightMm = numbers[1];
      break;
    case Key::Disc:
      read = ReadNumbers(value, std::span(numbers).first(1));
      sheet.discMm = numbers[0];
      break;
    case Key::Hole:
      read = ReadNumbers(value, std::span(numbers).first(1));
      sheet.holeMm = numbers[0];
      break;
    case Key::Position:
      read = ReadNumbers(value, numbers);
      sheet.positions.push_back({numbers[0], numbers[1]});
      draft.positionLines.push_back(line);
      break;
  }
  if (!read) {
    Error refused = At(ErrorReason::SheetValueRefused, line, word);
    refused.size = sheet.positions.size();  // which position, when it is one
    return refused;
  }
  return {};
}

void AppendNumber(std::string& out, double value) {
  std::array<char, 32> text{};
  const auto written = std::to_chars(text.data(), text.data() + text.size(), value);
  out.append(text.data(), written.ptr);
}

}  // namespace

std::filesystem::path UserSheetsFile() { return UserConfigFolder() / "sheets.conf"; }

Result<std::vector<Sheet>> ParseSheets(std::string_view text) {
  // An editor's byte-order mark is no part of the first line.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<Sheet> sheets;
  std::optional<Draft> draft;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      if (draft) {
        if (Result<void> done = Finish(*draft, sheets); !done) return done.error();
      }
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      const bool taken = std::any_of(sheets.begin(), sheets.end(),
                                     [name](const Sheet& sheet) { return sheet.name == name; });
      if (!CheckSheetName(name) || taken) {
        return At(ErrorReason::SheetNameRefused, lineNumber, name);
      }
      draft.emplace();
      draft->sheet.name = name;
      draft->sheet.holeMm = kStandardHoleMm;
      draft->nameLine = lineNumber;
      continue;
    }
    const std::size_t equals = line.find('=');
    const std::string_view word = Trim(line.substr(0, equals));
    const auto known = std::find_if(kKeys.begin(), kKeys.end(),
                                    [word](const auto& key) { return key.first == word; });
    if (!draft || equals == std::string_view::npos || known == kKeys.end()) {
      return At(ErrorReason::SheetLineUnknown, lineNumber, word.substr(0, 40));
    }
    const std::string_view value = Trim(line.substr(equals + 1));
    if (Result<void> taken = TakeValue(*draft, known->second, value, lineNumber); !taken) {
      return taken.error();
    }
  }
  if (draft) {
    if (Result<void> done = Finish(*draft, sheets); !done) return done.error();
  }
  return sheets;
}

std::string FormatSheets(std::span<const Sheet> sheets) {
  std::string out(kHeader);
  for (const Sheet& sheet : sheets) {
    out += "\n[" + sheet.name + "]\n";
    if (!sheet.title.empty()) out += "title = " + sheet.title + "\n";
    out += "page = ";
    AppendNumber(out, sheet.pageWidthMm);
    out += ' ';
    AppendNumber(out, sheet.pageHeightMm);
    out += "\ndisc = ";
    AppendNumber(out, sheet.discMm);
    out += "\nhole = ";
    AppendNumber(out, sheet.holeMm);
    out += '\n';
    for (const SheetPosition& at : sheet.positions) {
      out += "position = ";
      AppendNumber(out, at.xMm);
      out += ' ';
      AppendNumber(out, at.yMm);
      out += '\n';
    }
  }
  return out;
}

Result<std::vector<Sheet>> ReadSheetsFile(const std::filesystem::path& path) {
  const Result<FileStart> start = ReadFileStart(path, kMaxSheetsFileBytes + 1);
  if (!start) return start.error();
  Result<std::vector<Sheet>> sheets =
      start->wholeFile ? ParseSheets(start->bytes) : Error(ErrorReason::SheetsTooLarge);
  if (!sheets) {
    Error error = sheets.error();
    error.path = path.string();
    return error;
  }
  return sheets;
}

Result<void> WriteSheetsFile(const std::filesystem::path& path, std::span<const Sheet> sheets) {
  // Only what reads back: a line break in a title, or a name twice, would
  // leave a file that ParseSheets refuses and the user's sheets lost.
  for (auto sheet = sheets.begin(); sheet != sheets.end(); ++sheet) {
    if (Result<void> named = CheckSheetName(sheet->name); !named) return named;
    if (std::any_of(sheets.begin(), sheet,
                    [&](const Sheet& earlier) { return earlier.name == sheet->name; })) {
      Error taken(ErrorReason::SheetNameRefused);
      taken.name = sheet->name;
      return taken;
    }
    if (Result<void> checked = CheckSheet(*sheet); !checked) return checked;
  }
  return WriteConfigFile(path, FormatSheets(sheets));
}

}  // namespace lumo
