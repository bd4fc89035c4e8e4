// Little-endian fields, for the file formats lumo reads and writes (the
// settings file, the bitmap header) whatever the machine's own byte order.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumo {

// Writes the low `Bytes` bytes of `value`, least significant first.
template <std::size_t Bytes>
constexpr void PutLittleEndian(std::uint8_t* out, std::uint64_t value) noexcept {
  for (std::size_t i = 0; i < Bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <std::size_t Bytes>
[[nodiscard]] constexpr std::uint64_t GetLittleEndian(const std::uint8_t* in) noexcept {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < Bytes; ++i) value |= std::uint64_t{in[i]} << (8 * i);
  return value;
}

}  // namespace lumo
