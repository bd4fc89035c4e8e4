// lumo-render's sheets: --sheet NAME|FILE picks a built-in sheet, one of the
// user's sheets file, or the first sheet of a sheets file; --positions picks
// its places; --sheet list tells them all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ExitStatus.h"
#include "LabelVector.h"
#include "Result.h"
#include "Sheet.h"

namespace lumo::cli {

// The sheet `nameOrFile` names: a built-in sheet's or a user's sheet's name,
// else a sheets file (its first sheet).
[[nodiscard]] Result<Sheet, Failure> FindSheet(std::string_view nameOrFile);

// Every known sheet, one line each: name, page, disc and hole, places, title.
// A user's sheets file that cannot be read is left out, and said so in
// `warning`.
[[nodiscard]] std::string SheetListText(std::string& warning);

// The page of `sheet` with a label of `labelDiameterMm` at each of
// `positions` ("1,3" counted from 1, or "all"; nothing given is all).
[[nodiscard]] Result<SheetPage, Failure> SheetPageFor(const Sheet& sheet,
                                                      std::optional<std::string_view> positions,
                                                      double labelDiameterMm);

}  // namespace lumo::cli
