// Writes the code page 932 tables the engine is built with, asking glibc's
// iconv "CP932" converter once per code and per code point, so that lumo
// agrees with glibc yet never opens iconv at run time.
//
// Usage: lumo-cp932-tables OUTPUT.inc
#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Neither a code point that code page 932 decodes to nor a code of it (0xFF
// never leads), so it marks "none" in both directions.
constexpr std::uint16_t kNone = 0xFFFF;

// Owns an iconv descriptor; iconv_close is the only way to give it back.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  [[nodiscard]] bool valid() const noexcept { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // `in` converted whole from a fresh state, or nothing when iconv refuses.
  [[nodiscard]] std::optional<std::string> Convert(std::string in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* inPtr = in.data();
    char* outPtr = out;
    std::size_t inLeft = in.size();
    std::size_t outLeft = sizeof out;
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
      return std::nullopt;
    }
    return std::string(out, sizeof out - outLeft);
  }

 private:
  iconv_t cd_;
};

// The code point of `bytes` when they are exactly one character, else kNone.
// Every character code page 932 has lies below U+FFFF; anything else is
// reported through `ok`.
std::uint16_t Decode(Converter& decoder, std::string bytes, bool& ok) {
  const std::optional<std::string> utf32 = decoder.Convert(std::move(bytes));
  if (!utf32 || utf32->size() != 4) return kNone;
  const auto byte = [&](int i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>((*utf32)[i]));
  };
  const std::uint32_t cp = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
  if (cp >= kNone) ok = false;
  return static_cast<std::uint16_t>(cp);
}

// The code for `cp`: its one byte, or lead << 8 | trail; kNone without one.
std::uint16_t Encode(Converter& encoder, char32_t cp, bool& ok) {
  // The face draws 0x5C as a backslash and 0x7E as a tilde, so the yen sign
  // and the overline glibc folds onto them would print as other characters.
  if (cp == U'\u00A5' || cp == U'\u203E') return kNone;
  std::string utf32(4, '\0');
  for (int i = 0; i < 4; ++i) utf32[i] = static_cast<char>(cp >> (8 * i) & 0xFF);
  const std::optional<std::string> bytes = encoder.Convert(utf32);
  // glibc consumes the tag characters (U+E0000..U+E007F) without writing
  // anything; that is no form either.
  if (!bytes || bytes->empty()) return kNone;
  if (bytes->size() > 2 || cp > 0xFFFF) ok = false;  // the tables could not hold it
  std::uint16_t code = 0;
  for (const char c : *bytes) {
    code = static_cast<std::uint16_t>(code << 8 | static_cast<unsigned char>(c));
  }
  return code;
}

using Row = std::array<std::uint16_t, 256>;

// One row in braces, on lines of 16.
void WriteRow(std::string& out, const Row& row) {
  char buffer[16];
  out += "{";
  for (std::size_t i = 0; i < row.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, "%s0x%X,", i % 16 == 0 ? "\n" : "", row[i]);
    out += buffer;
  }
  out += "}";
}

// Rows as a C++ array of `name`.
void WriteRows(std::string& out, const char* name, const std::vector<Row>& rows) {
  out += "constexpr std::uint16_t " + std::string(name) + "[" + std::to_string(rows.size()) +
         "][256] = {\n";
  for (const Row& row : rows) {
    WriteRow(out, row);
    out += ",\n";
  }
  out += "};\n";
}

// Indexes as a C++ array of `name`.
void WriteIndex(std::string& out, const char* name, const std::array<std::uint8_t, 256>& index) {
  out += "constexpr std::uint8_t " + std::string(name) + "[256] = {";
  for (std::size_t i = 0; i < index.size(); ++i) {
    out += (i % 32 == 0 ? "\n" : "") + std::to_string(index[i]) + ",";
  }
  out += "\n};\n";
}

// Puts `row` among `rows` (the same row only once), returning its index.
std::uint8_t Intern(std::vector<Row>& rows, std::map<Row, std::uint8_t>& seen, const Row& row,
                    bool& ok) {
  const auto [it, added] = seen.try_emplace(row, static_cast<std::uint8_t>(rows.size()));
  if (added) {
    if (rows.size() > 255) ok = false;
    rows.push_back(row);
  }
  return it->second;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
    return 2;
  }
  Converter decoder("UTF-32LE", "CP932");
  Converter encoder("CP932", "UTF-32LE");
  if (!decoder.valid() || !encoder.valid()) {
    std::fprintf(stderr, "%s: glibc's iconv has no CP932 converter\n", argv[0]);
    return 1;
  }
  bool ok = true;
  Row empty;
  empty.fill(kNone);

  // To Unicode: every byte, and every pair of bytes, by its first byte. Row 0
  // is the empty row, which every byte that leads no character shares.
  Row singleBytes;
  std::vector<Row> pairRows{empty};
  std::map<Row, std::uint8_t> seenPairRows{{empty, 0}};
  std::array<std::uint8_t, 256> pairRowOf{};
  for (unsigned first = 0; first < 256; ++first) {
    singleBytes[first] = Decode(decoder, std::string(1, static_cast<char>(first)), ok);
    Row row;
    for (unsigned second = 0; second < 256; ++second) {
      row[second] = Decode(decoder, {static_cast<char>(first), static_cast<char>(second)}, ok);
    }
    pairRowOf[first] = Intern(pairRows, seenPairRows, row, ok);
  }

  // From Unicode: by blocks of 256 code points, block 0 the empty one.
  std::vector<Row> blocks{empty};
  std::map<Row, std::uint8_t> seenBlocks{{empty, 0}};
  std::array<std::uint8_t, 256> blockOf{};
  for (char32_t high = 0; high < 0x1100; ++high) {
    Row block;
    for (char32_t low = 0; low < 256; ++low) {
      const char32_t cp = high << 8 | low;
      block[low] = cp >= 0xD800 && cp <= 0xDFFF ? kNone : Encode(encoder, cp, ok);
    }
    if (high < 0x100) {
      blockOf[high] = Intern(blocks, seenBlocks, block, ok);
    } else if (block != empty) {
      ok = false;  // beyond the basic plane: not held
    }
  }
  if (!ok) {
    std::fprintf(stderr, "%s: glibc's CP932 converter does not fit these tables\n", argv[0]);
    return 1;
  }

  std::string out =
      "// Generated by lumo-cp932-tables from glibc's iconv \"CP932\"; do not edit.\n"
      "#pragma once\n\n#include <cstdint>\n\nnamespace lumo::cp932::tables {\n\n"
      "constexpr std::uint16_t kNone = 0xFFFF;\n\n";
  out += "constexpr std::uint16_t kSingleByte[256] = ";
  WriteRow(out, singleBytes);
  out += ";\n";
  WriteIndex(out, "kPairRowOf", pairRowOf);
  WriteRows(out, "kPairRows", pairRows);
  WriteIndex(out, "kBlockOf", blockOf);
  WriteRows(out, "kBlocks", blocks);
  out += "\n}  // namespace lumo::cp932::tables\n";

  std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
  file << out;
  file.close();
  if (!file) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
