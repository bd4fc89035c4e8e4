// Sheets by name or file, their places, and the list of them.
#include "SheetChoice.h"

#include <charconv>
#include <vector>

#include "ErrorText.h"
#include "SheetFile.h"

namespace lumo::cli {
namespace {

Failure Usage(std::string message) {
  return {kExitUsage, std::move(message) + " (see lumo-render --help)"};
}

}  // namespace

Result<Sheet, Failure> FindSheet(std::string_view nameOrFile) {
  for (const Sheet& sheet : BuiltInSheets()) {
    if (sheet.name == nameOrFile) return sheet;
  }
  const bool path = nameOrFile.find('/') != std::string_view::npos || nameOrFile.ends_with(".conf");
  if (!path) {
    const Result<std::vector<Sheet>> mine = ReadSheetsFile(UserSheetsFile());
    if (!mine && mine.error().reason != ErrorReason::NotFound) return FailureOf(mine.error());
    for (const Sheet& sheet : mine ? *mine : std::vector<Sheet>{}) {
      if (sheet.name == nameOrFile) return sheet;
    }
    return Failure{kExitUsage, "--sheet " + std::string(nameOrFile) +
                                   ": no such sheet; lumo-render --sheet list tells them"};
  }
  const Result<std::vector<Sheet>> read = ReadSheetsFile(std::string(nameOrFile));
  if (!read) return FailureOf(read.error());
  if (read->empty()) return Usage("--sheet " + std::string(nameOrFile) + ": the file holds no sheet");
  return read->front();
}

std::string SheetListText(std::string& warning) {
  std::vector<Sheet> sheets(BuiltInSheets().begin(), BuiltInSheets().end());
  const Result<std::vector<Sheet>> mine = ReadSheetsFile(UserSheetsFile());
  if (mine) {
    sheets.insert(sheets.end(), mine->begin(), mine->end());
  } else if (mine.error().reason != ErrorReason::NotFound) {
    warning = Describe(mine.error());
  }
  std::string text;
  for (const Sheet& sheet : sheets) {
    text += sheet.name + "  " + FormatNumber(sheet.pageWidthMm) + " x " +
            FormatNumber(sheet.pageHeightMm) + " mm, ";
    text += sheet.centred ? "the label centred"
                          : std::to_string(sheet.positions.size()) +
                                (sheet.positions.size() == 1 ? " disc of " : " discs of ") +
                                FormatNumber(sheet.discMm) + " mm, hole " +
                                FormatNumber(sheet.holeMm) + " mm";
    text += sheet.title.empty() ? "\n" : ": " + sheet.title + "\n";
  }
  return text;
}

Result<SheetPage, Failure> SheetPageFor(const Sheet& chosen,
                                        std::optional<std::string_view> positions,
                                        double labelDiameterMm) {
  const Sheet sheet =
      SheetForPaper(chosen, chosen.pageWidthMm, chosen.pageHeightMm, labelDiameterMm);
  SheetPage page{sheet.pageWidthMm, sheet.pageHeightMm, {}};
  if (!positions || *positions == "all") {
    for (const SheetPosition& at : sheet.positions) page.labels.push_back({at.xMm, at.yMm});
    return page;
  }
  for (std::string_view rest = *positions; !rest.empty();) {
    const std::string_view item = rest.substr(0, rest.find(','));
    rest = item.size() < rest.size() ? rest.substr(item.size() + 1) : std::string_view();
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), number);
    if (error != std::errc() || end != item.data() + item.size() || item.empty()) {
      return Usage("--positions takes places counted from 1, as 1,2, or all; not \"" +
                   std::string(*positions) + "\"");
    }
    if (number < 1 || number > sheet.positions.size()) {
      Error missing(ErrorReason::NoSuchPosition);
      missing.name = sheet.name;
      missing.size = number;
      return FailureOf(missing);
    }
    page.labels.push_back({sheet.positions[number - 1].xMm, sheet.positions[number - 1].yMm});
  }
  return page;
}

}  // namespace lumo::cli
