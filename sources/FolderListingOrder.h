// The order in which the folder listing puts its entries by creation time,
// computed exactly but without running the quadratic exchange ordering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumo {

// The listing orders entries with this exchange ordering: for every position
// k from the first on, and within it every later position j in turn, the
// items at k and j change places when key[k] > key[j]. Equal keys never change
// places directly, yet they can change their relative order through exchanges
// with other items, so the result differs from a stable sort.
//
// Returns the original indices of `keys` in the order that ordering leaves
// them, in O(n log n) time for typical inputs and O(n^1.5 log n) at worst.
[[nodiscard]] std::vector<std::size_t> ExchangeSortOrder(std::span<const std::uint64_t> keys);

}  // namespace lumo
