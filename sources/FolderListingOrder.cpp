// Exact result of the listing's exchange ordering without its quadratic cost,
// which would be too slow for folders of many thousand entries.
#include "FolderListingOrder.h"

#include <algorithm>
#include <numeric>
#include <utility>

// Why this gives the same order as the exchange ordering:
//
// In round k the item at k meets every later item and changes places with each
// smaller one, so the items that move are the strict running minima of the
// rest, each into the slot of the next; the first occurrence of the minimum
// ends at k. Distinct keys therefore end up sorted, and only the order within
// a group of equal keys v needs working out.
//
// For that order only items with keys <= v matter, taken in their current
// order ("slots"); larger items never change it. While smaller items remain,
// every round removes the first slot, which is always a running minimum: a
// smaller item there simply leaves, and a v-item there moves into the slot of
// the first smaller item. So round t reads slot t and, when it holds a v-item,
// moves it to the slot of the t-th smaller item, t + (v-items ahead of it).
// After the c smaller items are gone, the v-items come out in slot order.
//
// A v-item thus walks slot -> slot + step until it reaches a slot >= c. The
// step changes only where a v-item lies between two smaller items, so between
// such places the walk is an arithmetic run that can be crossed in one go;
// a walk crosses at most one run per v-item.

namespace lumo {
namespace {

// Counts marked positions before a position (a Fenwick tree).
class PositionCounter {
 public:
  explicit PositionCounter(std::size_t size) : counts_(size + 1, 0) {}

  void Mark(std::size_t pos) {
    for (std::size_t i = pos + 1; i < counts_.size(); i += i & (0 - i)) ++counts_[i];
  }

  [[nodiscard]] std::size_t CountBefore(std::size_t pos) const {
    std::size_t total = 0;
    for (std::size_t i = pos; i > 0; i -= i & (0 - i)) total += counts_[i];
    return total;
  }

 private:
  std::vector<std::size_t> counts_;
};

// `smallerAhead[i]` is how many smaller items precede the group's i-th item
// (non-decreasing); returns the slot where the k-th item ends, among the
// slots of the items with keys up to the group's, `smallerCount` of them smaller.
std::size_t FinalSlot(std::span<const std::size_t> smallerAhead, std::size_t k,
                      std::size_t smallerCount) {
  const std::size_t groupSize = smallerAhead.size();
  std::size_t slot = smallerAhead[k] + k;
  // How many group items lie ahead of the smaller item that `slot` is matched with.
  std::size_t step = k + 1;
  while (slot < smallerCount) {
    // A walk mostly crosses one run at a time: gallop before searching.
    std::size_t stride = 1;
    while (step + stride <= groupSize && smallerAhead[step + stride - 1] <= slot) {
      step += stride;
      stride *= 2;
    }
    const auto first = smallerAhead.begin() + static_cast<std::ptrdiff_t>(step);
    const auto last =
        smallerAhead.begin() + static_cast<std::ptrdiff_t>(std::min(step + stride - 1, groupSize));
    step = static_cast<std::size_t>(std::upper_bound(first, last, slot) - smallerAhead.begin());
    const std::size_t runEnd =
        step == groupSize ? smallerCount : std::min(smallerCount, smallerAhead[step]);
    slot += (runEnd - slot + step - 1) / step * step;
  }
  return slot;
}

}  // namespace

std::vector<std::size_t> ExchangeSortOrder(std::span<const std::uint64_t> keys) {
  const std::size_t count = keys.size();
  std::vector<std::size_t> byKey(count);
  std::iota(byKey.begin(), byKey.end(), std::size_t{0});
  std::stable_sort(byKey.begin(), byKey.end(),
                   [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

  std::vector<std::size_t> order;
  order.reserve(count);
  PositionCounter placedBefore(count);
  std::size_t placed = 0;
  std::vector<std::size_t> smallerAhead;
  std::vector<std::pair<std::size_t, std::size_t>> slotAndIndex;
  for (std::size_t first = 0; first < count;) {
    std::size_t last = first + 1;
    while (last < count && keys[byKey[last]] == keys[byKey[first]]) ++last;
    // The group's original positions, ascending thanks to the stable sort.
    const std::span<const std::size_t> group(byKey.data() + first, last - first);
    if (group.size() == 1) {
      order.push_back(group[0]);
    } else {
      smallerAhead.clear();
      for (const std::size_t pos : group) smallerAhead.push_back(placedBefore.CountBefore(pos));
      slotAndIndex.clear();
      for (std::size_t k = 0; k < group.size(); ++k) {
        slotAndIndex.emplace_back(FinalSlot(smallerAhead, k, placed), group[k]);
      }
      std::sort(slotAndIndex.begin(), slotAndIndex.end());
      for (const auto& [slot, index] : slotAndIndex) order.push_back(index);
    }
    for (const std::size_t pos : group) placedBefore.Mark(pos);
    placed += group.size();
    first = last;
  }
  return order;
}

}  // namespace lumo
