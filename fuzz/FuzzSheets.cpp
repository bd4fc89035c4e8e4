// The sheets file: any bytes are read or refused with a line, and what is
// read is written and read back the same.
#include <cstdint>
#include <string_view>

#include "SheetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto sheets = lumo::ParseSheets(text);
  if (!sheets) {
    if (sheets.error().line < 1) __builtin_trap();
    return 0;
  }
  const auto again = lumo::ParseSheets(lumo::FormatSheets(*sheets));
  if (!again || *again != *sheets) __builtin_trap();
  return 0;
}
