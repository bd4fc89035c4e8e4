// Finds the label's face with fontconfig, unless $LUMO_FONT names one.
#include "FontLocation.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>

namespace lumo {
namespace {

// The face the label has always asked for, matched by Japanese coverage and
// fixed pitch: on Debian that is IPAGothic.
constexpr const char* kFaceName = "MS UI Gotic";

Result<FontLocation> FindFace() {
  if (const char* file = std::getenv("LUMO_FONT"); file != nullptr && *file != '\0') {
    return FontLocation{file, 0};
  }
  Error none(ErrorReason::NoFace);
  none.name = kFaceName;
  using PatternHandle = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
  const PatternHandle pattern(FcNameParse(reinterpret_cast<const FcChar8*>(kFaceName)),
                              &FcPatternDestroy);
  if (!pattern) return none;
  FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  const PatternHandle match(FcFontMatch(nullptr, pattern.get(), &result), &FcPatternDestroy);
  if (!match) return none;
  // fontconfig always answers with something; only a face that covers
  // Japanese will do.
  FcLangSet* languages = nullptr;
  if (FcPatternGetLangSet(match.get(), FC_LANG, 0, &languages) != FcResultMatch ||
      FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) != FcLangEqual) {
    return none;
  }
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
    return none;
  }
  FontLocation location{reinterpret_cast<const char*>(file), 0};
  int index = 0;
  if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) {
    location.index = index;
  }
  return location;
}

}  // namespace

const Result<FontLocation>& LabelFaceLocation() {
  static const Result<FontLocation> location = FindFace();
  return location;
}

}  // namespace lumo
