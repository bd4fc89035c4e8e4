// The settings lumo-render works with: a settings file or the defaults, then
// the single values given as options, under the settings dialog's rules.
#pragma once

#include <string>

#include "CommandLine.h"
#include "LabelSettings.h"

namespace lumo::cli {

struct SettingsOutcome {
  bool ok = false;
  LabelSettings settings;
  int exitStatus = 0;  // when !ok: 1 the file cannot be read, 2 refused settings
  std::string error;   // one line, when !ok
};

// Reads --settings (a file of fewer than 32 bytes cannot be read), applies the
// overrides under the acceptance rules and checks the canvas limit. A value
// that breaks a rule is refused with the rule it breaks, also when it equals
// the value it would replace.
[[nodiscard]] SettingsOutcome ResolveSettings(const CommandLine& line);

}  // namespace lumo::cli
