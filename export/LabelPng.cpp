// The grey PNG written directly: the rows are deflated in two halves on two
// threads, the first ended on a whole byte so that the second can follow it,
// and the two are one zlib stream whose checksum is combined from theirs.
//
// A label is long runs of white and black between single grey edge pixels.
// Each half is one deflate block of its own codes: every run a repeat of the
// byte before it, every other byte a literal. That comes within a few per
// cent of what zlib's run-length mode makes, in well under half its time.
#include "LabelPng.h"

#include <sys/uio.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <queue>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "InTwoBands.h"
#include "Io.h"
#include "LabelBitmap.h"

namespace lumo {
namespace {

// Below this many pixels a second thread costs more than it saves.
constexpr std::size_t kPixelsWorthASecondThread = std::size_t{1} << 20;

// Bits as deflate sends them: the first bit sent is the lowest.
struct Code {
  std::uint32_t bits = 0;
  int length = 0;
};

constexpr int kEndOfBlock = 256;
// In a block's symbols as first gathered, a repeat is this plus its length.
constexpr int kRepeatToken = 256;
constexpr int kLiteralLengthSymbols = 286;
constexpr int kLongestCode = 15;
constexpr int kLongestCodeLengthCode = 7;
constexpr int kShortestRepeat = 3;
constexpr int kLongestRepeat = 258;

// Each length symbol's shortest repeat, from symbol 257 on, and the extra
// bits that tell how much longer.
constexpr std::array<int, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                          15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                          67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtraBits{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// The symbol of each repeat length, and its extra bits.
struct LengthSymbol {
  std::uint16_t symbol = 0;
  Code extra;
};
constexpr std::array<LengthSymbol, kLongestRepeat + 1> kLengthSymbols = [] {
  std::array<LengthSymbol, kLongestRepeat + 1> symbols{};
  for (int length = kShortestRepeat; length <= kLongestRepeat; ++length) {
    int i = static_cast<int>(kLengthBase.size()) - 1;
    while (kLengthBase[i] > length) --i;
    symbols[length] = {static_cast<std::uint16_t>(kEndOfBlock + 1 + i),
                       {static_cast<std::uint32_t>(length - kLengthBase[i]), kLengthExtraBits[i]}};
  }
  return symbols;
}();

// A Huffman code is sent from its first bit, the highest: stored reversed.
constexpr std::uint32_t Reversed(std::uint32_t code, int length) {
  std::uint32_t reversed = 0;
  for (int i = 0; i < length; ++i) reversed |= (code >> i & 1) << (length - 1 - i);
  return reversed;
}

// The code lengths of a Huffman code for symbols seen `counts` times, none
// longer than `limit`. Every code deflate reads must be complete, so at
// least two symbols get a code.
std::vector<int> CodeLengths(std::vector<std::uint64_t> counts, int limit) {
  const auto symbols = static_cast<int>(counts.size());
  auto used = std::ranges::count_if(counts, [](std::uint64_t count) { return count != 0; });
  for (int s = 0; used < 2 && s < symbols; ++s) {
    if (counts[s] == 0) {
      counts[s] = 1;
      ++used;
    }
  }
  for (;;) {
    // Join the two lightest until one tree is left; ties go to the lower
    // number, so the same counts always give the same code.
    using Node = std::pair<std::uint64_t, int>;
    std::priority_queue<Node, std::vector<Node>, std::greater<>> lightest;
    std::vector<int> parent(2 * counts.size(), -1);
    for (int s = 0; s < symbols; ++s) {
      if (counts[s] != 0) lightest.emplace(counts[s], s);
    }
    for (int next = symbols; lightest.size() > 1; ++next) {
      const Node a = lightest.top();
      lightest.pop();
      const Node b = lightest.top();
      lightest.pop();
      parent[a.second] = parent[b.second] = next;
      lightest.emplace(a.first + b.first, next);
    }
    std::vector<int> lengths(counts.size(), 0);
    for (int s = 0; s < symbols; ++s) {
      for (int node = s; counts[s] != 0 && parent[node] >= 0; node = parent[node]) ++lengths[s];
    }
    if (std::ranges::max(lengths) <= limit) return lengths;
    // Too deep: flatten the counts (none of them to zero) and build again.
    for (std::uint64_t& count : counts) count = (count + 1) / 2;
  }
}

// The canonical codes of those lengths, as deflate assigns them.
std::vector<Code> CanonicalCodes(const std::vector<int>& lengths) {
  std::array<std::uint32_t, kLongestCode + 2> perLength{};
  for (const int length : lengths) ++perLength[length];
  perLength[0] = 0;
  std::array<std::uint32_t, kLongestCode + 2> next{};
  for (int length = 1; length <= kLongestCode; ++length) {
    next[length] = (next[length - 1] + perLength[length - 1]) << 1;
  }
  std::vector<Code> codes(lengths.size());
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] != 0) codes[s] = {Reversed(next[lengths[s]]++, lengths[s]), lengths[s]};
  }
  return codes;
}

// Deflate's bits gathered into bytes, in a buffer sized for all of them.
class BitSink {
 public:
  explicit BitSink(std::size_t capacity)
      : bytes_(std::make_unique_for_overwrite<std::uint8_t[]>(capacity)) {}

  void Put(Code code) {
    pending_ |= std::uint64_t{code.bits} << count_;
    count_ += code.length;
    if (count_ >= 32) {
      for (int i = 0; i < 4; ++i) bytes_[size_++] = static_cast<std::uint8_t>(pending_ >> 8 * i);
      pending_ >>= 32;
      count_ -= 32;
    }
  }
  // Pads the last byte with zero bits.
  void Align() {
    for (; count_ > 0; count_ -= 8) {
      bytes_[size_++] = static_cast<std::uint8_t>(pending_);
      pending_ >>= 8;
    }
    count_ = 0;
  }
  std::span<const std::uint8_t> bytes() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
  std::uint64_t pending_ = 0;
  int count_ = 0;
};

// Where the run of `value` from `from` on ends; eight bytes at a time
// through the long white runs.
std::size_t RunEnd(std::span<const std::uint8_t> line, std::size_t from, std::uint8_t value) {
  const std::uint64_t repeated = value * std::uint64_t{0x0101010101010101};
  std::size_t end = from;
  for (std::uint64_t word = 0; end + sizeof word <= line.size(); end += sizeof word) {
    std::memcpy(&word, line.data() + end, sizeof word);
    if (word != repeated) break;
  }
  while (end < line.size() && line[end] == value) ++end;
  return end;
}

// The scanlines of some rows as deflate's symbols: a byte as itself, a
// repeat of the byte before as kRepeatToken + its length.
class Tokens {
 public:
  explicit Tokens(std::size_t mostBytes)
      : tokens_(std::make_unique_for_overwrite<std::uint16_t[]>(mostBytes)),
        counts_(kLiteralLengthSymbols, 0) {}

  void Add(std::span<const std::uint8_t> line) {
    for (std::size_t x = 0; x < line.size();) {
      const std::uint8_t value = line[x];
      const std::size_t end = RunEnd(line, x + 1, value);
      Literal(value);
      std::size_t more = end - x - 1;
      while (more >= kShortestRepeat) {
        std::size_t length = std::min<std::size_t>(more, kLongestRepeat);
        // Leave no tail too short to repeat when a shorter repeat avoids one.
        if (more > kLongestRepeat && more - length < kShortestRepeat)
          length = more - kShortestRepeat;
        tokens_[size_++] = static_cast<std::uint16_t>(kRepeatToken + length);
        ++counts_[kLengthSymbols[length].symbol];
        more -= length;
      }
      for (; more > 0; --more) Literal(value);
      x = end;
    }
  }
  std::span<const std::uint16_t> tokens() const { return {tokens_.get(), size_}; }
  const std::vector<std::uint64_t>& counts() const { return counts_; }

 private:
  void Literal(std::uint8_t value) {
    tokens_[size_++] = value;
    ++counts_[value];
  }
  std::unique_ptr<std::uint16_t[]> tokens_;
  std::size_t size_ = 0;
  std::vector<std::uint64_t> counts_;
};

// A block's code lengths as deflate sends them: runs of one length and of
// zeros shortened by the code length alphabet's symbols 16, 17 and 18.
struct CodeLengthItem {
  int symbol = 0;
  Code extra;
};
std::vector<CodeLengthItem> RunLengths(const std::vector<int>& lengths) {
  std::vector<CodeLengthItem> items;
  for (std::size_t i = 0; i < lengths.size();) {
    const int value = lengths[i];
    std::size_t end = i + 1;
    while (end < lengths.size() && lengths[end] == value) ++end;
    auto run = static_cast<std::uint32_t>(end - i);
    if (value == 0) {
      for (std::uint32_t zeros; run >= 11; run -= zeros) {
        zeros = std::min(run, 138u);
        items.push_back({18, {zeros - 11, 7}});
      }
      if (run >= 3) {
        items.push_back({17, {run - 3, 3}});
        run = 0;
      }
    } else {
      items.push_back({value, {}});
      --run;
      for (std::uint32_t repeats; run >= 3; run -= repeats) {
        repeats = std::min(run, 6u);
        items.push_back({16, {repeats - 3, 2}});
      }
    }
    for (; run > 0; --run) items.push_back({value, {}});
    i = end;
  }
  return items;
}

// The rest of a block's header: how many codes each alphabet has (the
// distance alphabet two), then their lengths, in codes of their own.
void PutCodeLengths(BitSink& sink, std::vector<int> lengths) {
  const auto literalLengthCodes =
      static_cast<int>(lengths.rend() - std::ranges::find_if(lengths.rbegin(), lengths.rend(),
                                                             [](int length) { return length; }));
  lengths.resize(literalLengthCodes);
  lengths.insert(lengths.end(), {1, 1});
  const std::vector<CodeLengthItem> items = RunLengths(lengths);
  std::vector<std::uint64_t> itemCounts(19, 0);
  for (const CodeLengthItem& item : items) ++itemCounts[item.symbol];
  const std::vector<int> itemLengths = CodeLengths(itemCounts, kLongestCodeLengthCode);
  const std::vector<Code> itemCodes = CanonicalCodes(itemLengths);
  constexpr std::array<int, 19> kOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                       11, 4,  12, 3, 13, 2, 14, 1, 15};
  int sent = static_cast<int>(kOrder.size());
  while (sent > 4 && itemLengths[kOrder[sent - 1]] == 0) --sent;

  sink.Put({static_cast<std::uint32_t>(literalLengthCodes - 257), 5});
  sink.Put({2 - 1, 5});
  sink.Put({static_cast<std::uint32_t>(sent - 4), 4});
  for (int i = 0; i < sent; ++i) {
    sink.Put({static_cast<std::uint32_t>(itemLengths[kOrder[i]]), 3});
  }
  for (const CodeLengthItem& item : items) {
    sink.Put(itemCodes[item.symbol]);
    sink.Put(item.extra);
  }
}

// Rows [top, bottom) of a PNG, deflated raw.
struct DeflatedRows {
  std::unique_ptr<BitSink> sink;
  uLong adler = adler32(0, nullptr, 0);  // of the scanlines
  uLong crc = crc32(0, nullptr, 0);      // of the deflated bytes
  int rows = 0;

  std::span<const std::uint8_t> bytes() const {
    return sink ? sink->bytes() : std::span<const std::uint8_t>{};
  }
};

// Rows [top, bottom) as PNG scanlines (filter byte 0, then one grey byte a
// pixel) in one block of their own codes; the last part ends the stream, the
// others are brought to a whole byte with an empty stored block, as a full
// flush would.
void DeflateRows(const Surface& image, int top, int bottom, bool last, DeflatedRows& out) {
  const auto lineBytes = static_cast<std::size_t>(image.width()) + 1;
  out.rows = bottom - top;
  Tokens tokens(lineBytes * static_cast<std::size_t>(out.rows));
  const auto scanline = std::make_unique<std::uint8_t[]>(lineBytes);
  for (int y = top; y < bottom; ++y) {
    GreyRow(image.row(y), scanline.get() + 1);
    out.adler = adler32(out.adler, scanline.get(), static_cast<uInt>(lineBytes));
    tokens.Add({scanline.get(), lineBytes});
  }

  std::vector<std::uint64_t> counts = tokens.counts();
  counts[kEndOfBlock] = 1;
  const std::vector<int> lengths = CodeLengths(counts, kLongestCode);
  const std::vector<Code> codes = CanonicalCodes(lengths);
  // Every repeat is of the byte before: distance 1, given one bit of a
  // two-code distance alphabet.
  constexpr Code kDistanceOne{0, 1};
  std::uint64_t bodyBits = 0;
  for (int s = 0; s < kLiteralLengthSymbols; ++s) {
    const int repeatBits =
        s > kEndOfBlock ? kLengthExtraBits[s - kEndOfBlock - 1] + kDistanceOne.length : 0;
    bodyBits += counts[s] * static_cast<std::uint64_t>(codes[s].length + repeatBits);
  }
  // The header takes under 300 bytes, the empty stored block five.
  out.sink = std::make_unique<BitSink>(bodyBits / 8 + 512);
  BitSink& sink = *out.sink;

  sink.Put({last ? 1u : 0u, 1});
  sink.Put({2, 2});  // codes of its own
  PutCodeLengths(sink, lengths);
  for (const std::uint16_t token : tokens.tokens()) {
    if (token < kRepeatToken) {
      sink.Put(codes[token]);
    } else {
      const LengthSymbol& length = kLengthSymbols[token - kRepeatToken];
      sink.Put(codes[length.symbol]);
      sink.Put(length.extra);
      sink.Put(kDistanceOne);
    }
  }
  sink.Put(codes[kEndOfBlock]);
  if (!last) {
    sink.Put({0, 3});  // a stored block, not the last, of no bytes
    sink.Align();
    sink.Put({0xFFFF0000u, 32});
  }
  sink.Align();
  out.crc = crc32(out.crc, sink.bytes().data(), static_cast<uInt>(sink.bytes().size()));
}

void PutBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

void AppendChunk(std::string& out, const char (&type)[5], std::string_view data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.append(type, 4);
  out.append(data);
  const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
  PutBigEndian32(
      out, static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(out.size() - start))));
}

}  // namespace

Result<void> WriteLabelPng(int fd, const Surface& image, double resolutionDpi) {
  const int height = image.height();
  std::array<DeflatedRows, 2> parts;
  std::array<bool, 2> deflated{true, true};
  InTwoBands(height, image.pixels().size() >= kPixelsWorthASecondThread, [&](int top, int bottom) {
    // The lower half, or the whole, is the stream's last part.
    const std::size_t part = bottom == height ? 1 : 0;
    try {
      DeflateRows(image, top, bottom, bottom == height, parts[part]);
    } catch (const std::bad_alloc&) {
      deflated[part] = false;
    }
  });
  if (!deflated[0] || !deflated[1]) return WriteFailure(ENOMEM);

  std::string head = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBigEndian32(header, static_cast<std::uint32_t>(image.width()));
  PutBigEndian32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, deflate, no filter, no interlace
  AppendChunk(head, "IHDR", header);
  // The bitmap's own resolution, per metre on both axes.
  const auto density = static_cast<std::uint32_t>(std::max(0, PixelsPerMetre(resolutionDpi)));
  std::string physical;
  PutBigEndian32(physical, density);
  PutBigEndian32(physical, density);
  physical += '\x01';
  AppendChunk(head, "pHYs", physical);

  // The IDAT is written from where its threads left the two parts, its
  // checksum combined from theirs.
  const std::string_view zlibHeader = "\x78\x01";  // deflate, 32 KiB window, no dictionary
  PutBigEndian32(head, static_cast<std::uint32_t>(zlibHeader.size() + parts[0].bytes().size() +
                                                  parts[1].bytes().size() + 4));
  const std::size_t idat = head.size();
  head += "IDAT";
  head += zlibHeader;
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(head.data() + idat),
                    static_cast<uInt>(head.size() - idat));
  for (const DeflatedRows& part : parts) {
    crc = crc32_combine(crc, part.crc, static_cast<z_off_t>(part.bytes().size()));
  }
  const auto rowBytes = static_cast<z_off_t>(image.width()) + 1;
  std::string tail;
  PutBigEndian32(tail, static_cast<std::uint32_t>(adler32_combine(parts[0].adler, parts[1].adler,
                                                                  rowBytes * parts[1].rows)));
  crc = crc32(crc, reinterpret_cast<const Bytef*>(tail.data()), 4);
  PutBigEndian32(tail, static_cast<std::uint32_t>(crc));
  AppendChunk(tail, "IEND", {});

  const auto piece = [](std::span<const std::uint8_t> bytes) {
    return iovec{const_cast<std::uint8_t*>(bytes.data()), bytes.size()};  // writev only reads
  };
  std::array<iovec, 4> pieces{iovec{head.data(), head.size()}, piece(parts[0].bytes()),
                              piece(parts[1].bytes()), iovec{tail.data(), tail.size()}};
  return WriteAll(fd, pieces);
}

}  // namespace lumo
