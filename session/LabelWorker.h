// Draws and writes labels on a thread of its own, one after another in the
// order they are given, so that a window never waits for the tens of
// megabytes a label can be. Every label given is drawn and, when asked, written
// to its own numbered file; nothing is coalesced away.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "LabelCanvas.h"
#include "LabelFormat.h"
#include "LabelLayout.h"
#include "Result.h"

namespace lumo {

class LabelWorker {
 public:
  struct Job {
    CanvasGeometry geometry;
    LabelLayout layout;
    double resolutionDpi = 0;
    Result<std::shared_ptr<LabelFace>> face = Error(ErrorReason::NoFace);
    std::optional<LabelFormat> format;  // nothing: drawn only, no file
    std::filesystem::path directory;    // where the numbered file goes
  };
  // What became of a job, counted from 1 in the order given.
  struct Drawn {
    std::uint64_t job = 0;
    std::shared_ptr<const LabelCanvas> canvas;  // the label; no other job draws on it
  };
  struct Written {
    std::uint64_t job = 0;
    Result<std::filesystem::path> saved;
  };

  // `drawn` hears of each label as soon as it is drawn, `written` of its
  // file (jobs with a format only); both are called on the worker's thread.
  LabelWorker(std::function<void(Drawn)> drawn, std::function<void(Written)> written);
  // Does every job given, then stops.
  ~LabelWorker();
  LabelWorker(const LabelWorker&) = delete;
  LabelWorker& operator=(const LabelWorker&) = delete;

  // The job's number.
  std::uint64_t Submit(Job job);
  // Until every job given is done.
  void Wait();

 private:
  void Run(std::stop_token stop);
  // A canvas no one holds any more, to draw the next label on; a new one
  // when every one is held.
  std::shared_ptr<LabelCanvas> FreeCanvas();

  std::function<void(Drawn)> drawn_;
  std::function<void(Written)> written_;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::deque<Job> jobs_;
  std::uint64_t given_ = 0;
  std::uint64_t done_ = 0;
  std::vector<std::shared_ptr<LabelCanvas>> canvases_;
  std::jthread thread_;  // last: it stops and joins before the rest goes
};

}  // namespace lumo
