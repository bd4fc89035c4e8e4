// Speed of the folder listing: whole listings of large folders, and the
// ordering alone on shapes of creation times that make it work hardest.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "FolderListing.h"
#include "FolderListingOrder.h"

namespace {

// A folder of empty files made in one quick burst, so that most of them share
// their creation time as files made within one clock tick do; removed at exit.
class BurstFolder {
 public:
  explicit BurstFolder(int files) {
    for (int i = 0; i < files; ++i) {
      const std::string name = (folder_.path() / ("file" + std::to_string(i) + ".dat")).string();
      const int fd = open(name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
      if (fd < 0) throw std::runtime_error("cannot create " + name);
      close(fd);
    }
  }
  [[nodiscard]] std::string Folder() const { return folder_.path().string(); }

 private:
  lumo::bench::ScratchFolder folder_;
};

const BurstFolder& FolderOf(int files) {
  static std::map<int, std::unique_ptr<BurstFolder>> folders;
  auto& folder = folders[files];
  if (!folder) folder = std::make_unique<BurstFolder>(files);
  return *folder;
}

void BM_WholeListing(benchmark::State& state) {
  const BurstFolder& folder = FolderOf(static_cast<int>(state.range(0)));
  std::set<lumo::EntryTime> times;
  for (const auto& entry : lumo::ReadFolderEntries(folder.Folder()).value()) {
    times.insert(entry.created);
  }
  std::string listing;
  for (auto _ : state) listing = lumo::BuildFolderListing(folder.Folder()).value().bytes;
  // Every file plus "." and "..".
  const auto lines = std::count(listing.begin(), listing.end(), '\n');
  if (lines != state.range(0) + 2) state.SkipWithError("entries missing from the listing");
  state.counters["distinct_times"] = static_cast<double>(times.size());
}
BENCHMARK(BM_WholeListing)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// 0: fifty distinct times in random order; 1: pairs of equal times, newest
// first; 2: a saw-tooth of sqrt(n) times falling again and again, the shape that
// makes the ordering's walks longest.
std::vector<std::uint64_t> Keys(std::int64_t shape, std::size_t count) {
  std::vector<std::uint64_t> keys(count);
  std::mt19937_64 random(42);
  const auto teeth = static_cast<std::size_t>(std::sqrt(static_cast<double>(count)));
  for (std::size_t i = 0; i < count; ++i) {
    switch (shape) {
      case 0:
        keys[i] = random() % 50;
        break;
      case 1:
        keys[i] = count - i / 2;
        break;
      default:
        keys[i] = teeth - i % teeth;
        break;
    }
  }
  return keys;
}

void BM_Ordering(benchmark::State& state) {
  const std::vector<std::uint64_t> keys =
      Keys(state.range(0), static_cast<std::size_t>(state.range(1)));
  for (auto _ : state) {
    const auto order = lumo::ExchangeSortOrder(keys);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_Ordering)
    ->ArgsProduct({{0, 1, 2}, {10'000, 100'000}})
    ->ArgNames({"shape", "n"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
