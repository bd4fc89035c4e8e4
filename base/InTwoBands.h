// Work on an image split into an upper and a lower half of its rows, each
// half on a thread of its own, so that what each pixel gets is unchanged.
#pragma once

#include <optional>
#include <system_error>
#include <thread>

namespace lumo {

// Calls `work(top, bottom)` for rows [0, mid) and [mid, height): the lower
// half on a second thread when `worthASecondThread` and the machine has one.
template <typename Work>
void InTwoBands(int height, bool worthASecondThread, Work work) {
  const int mid = height / 2;
  if (!worthASecondThread || std::thread::hardware_concurrency() < 2) {
    work(0, height);
    return;
  }
  bool lowerDone = false;
  {
    std::optional<std::jthread> lower;
    try {
      lower.emplace([&] {
        work(mid, height);
        lowerDone = true;
      });
    } catch (const std::system_error&) {
      // No second thread to be had: the lower half is done below instead.
    }
    work(0, mid);
  }  // joins the second thread
  if (!lowerDone) work(mid, height);
}

}  // namespace lumo
