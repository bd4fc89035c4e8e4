// How lumo-render ends: its exit status, and the one line it says on the way.
#pragma once

#include <string>

namespace lumo::cli {

inline constexpr int kExitOk = 0;
// The input cannot be read or the file cannot be written.
inline constexpr int kExitFailed = 1;
// A usage error or refused settings.
inline constexpr int kExitUsage = 2;

// Why lumo-render stops: one line, and the exit status that goes with it.
struct Failure {
  int exitStatus = kExitFailed;
  std::string message;
};

}  // namespace lumo::cli
