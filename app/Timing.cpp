// The timing log: one line per moment, opened for each, as moments are few.
#include "Timing.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

void NoteTime(const char* what) {
  static const char* const file = std::getenv("LUMO_TIMING");
  if (file == nullptr || *file == '\0') return;
  // The wall clock, so that the moment a script started the program compares.
  const double seconds =
      std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> log(std::fopen(file, "a"), &std::fclose);
  if (log) std::fprintf(log.get(), "%s %.6f\n", what, seconds);
}
