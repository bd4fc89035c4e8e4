// The worker's queue: jobs in order, a few canvases drawn on in turn.
#include "LabelWorker.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "FileDescriptor.h"
#include "LabelExport.h"

namespace lumo {
namespace {

// A written label's pages are sent to the disk at once and then dropped from
// the page cache, so that dirty pages do not pile up over many labels and
// slow every later one down.
void WriteBack(const std::filesystem::path& file) {
  const FileDescriptor written(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (written.get() < 0) return;
  (void)::sync_file_range(written.get(), 0, 0,
                          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                              SYNC_FILE_RANGE_WAIT_AFTER);
  (void)::posix_fadvise(written.get(), 0, 0, POSIX_FADV_DONTNEED);
}

}  // namespace

LabelWorker::LabelWorker(std::function<void(Drawn)> drawn, std::function<void(Written)> written)
    : drawn_(std::move(drawn)),
      written_(std::move(written)),
      thread_([this](std::stop_token stop) { Run(stop); }) {}

LabelWorker::~LabelWorker() {
  Wait();
  thread_.request_stop();
}

std::uint64_t LabelWorker::Submit(Job job) {
  const std::lock_guard lock(mutex_);
  jobs_.push_back(std::move(job));
  changed_.notify_all();
  return ++given_;
}

void LabelWorker::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return done_ == given_; });
}

std::shared_ptr<LabelCanvas> LabelWorker::FreeCanvas() {
  // Only this thread hands canvases out, so one that no one else holds now
  // stays free.
  const auto free = std::find_if(canvases_.begin(), canvases_.end(),
                                 [](const auto& canvas) { return canvas.use_count() == 1; });
  if (free != canvases_.end()) return *free;
  return canvases_.emplace_back(std::make_shared<LabelCanvas>());
}

void LabelWorker::Run(std::stop_token stop) {
  while (true) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait(lock, stop, [this] { return !jobs_.empty(); })) return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    const std::uint64_t number = done_ + 1;
    lock.unlock();

    const std::shared_ptr<LabelCanvas> canvas = FreeCanvas();
    canvas->geometry = job.geometry;  // the image is kept when its size is the same
    DrawLabel(*canvas, job.layout, job.face ? job.face->get() : nullptr);
    drawn_({number, canvas});
    if (job.format) {
      Result<std::filesystem::path> saved =
          SaveLabel(*job.format, {*canvas, job.layout, job.resolutionDpi, job.face}, job.directory);
      if (saved) WriteBack(*saved);
      written_({number, std::move(saved)});
    }
    lock.lock();
    ++done_;
    changed_.notify_all();
  }
}

}  // namespace lumo
