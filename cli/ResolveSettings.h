// The settings lumo-render works with: a settings file or the defaults, then
// the single values given as options, under the settings dialog's rules.
#pragma once

#include "CommandLine.h"
#include "ExitStatus.h"
#include "LabelSettings.h"
#include "Result.h"

namespace lumo::cli {

// Reads --settings, applies the overrides under the acceptance rules and
// checks the canvas limit. A value that breaks a rule is refused with the rule
// it breaks, also when it equals the value it would replace. Exit status 1:
// the file cannot be read; 2: refused settings.
[[nodiscard]] Result<LabelSettings, Failure> ResolveSettings(const CommandLine& line);

}  // namespace lumo::cli
