// Finds faces with fontconfig: the label's by name or file, a fallback by
// the character it must have.
#include "FontLocation.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

namespace lumo {
namespace {

// The face the label has always asked for, matched by Japanese coverage and
// fixed pitch: on Debian that is IPAGothic.
constexpr const char* kFaceName = "MS UI Gotic";

using PatternHandle = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
using FontSetHandle = std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)>;
using CharSetHandle = std::unique_ptr<FcCharSet, decltype(&FcCharSetDestroy)>;

const FcChar8* Chars(const char* text) { return reinterpret_cast<const FcChar8*>(text); }

std::optional<FontLocation> FileOf(FcPattern* match) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
    return std::nullopt;
  }
  FontLocation location{reinterpret_cast<const char*>(file), 0};
  int index = 0;
  if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) location.index = index;
  return location;
}

// fontconfig's best match for `pattern` after its substitutions.
PatternHandle Match(FcPattern* pattern) {
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  return {FcFontMatch(nullptr, pattern, &result), &FcPatternDestroy};
}

Result<FontLocation> DefaultFace() {
  Error none(ErrorReason::NoFace);
  none.name = kFaceName;
  const PatternHandle pattern(FcNameParse(Chars(kFaceName)), &FcPatternDestroy);
  if (!pattern) return none;
  FcPatternAddString(pattern.get(), FC_LANG, Chars("ja"));
  FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
  const PatternHandle match = Match(pattern.get());
  // fontconfig always answers with something; only a face that covers
  // Japanese will do.
  FcLangSet* languages = nullptr;
  if (!match || FcPatternGetLangSet(match.get(), FC_LANG, 0, &languages) != FcResultMatch ||
      FcLangSetHasLang(languages, Chars("ja")) != FcLangEqual) {
    return none;
  }
  if (std::optional<FontLocation> location = FileOf(match.get())) return *location;
  return none;
}

// The face of the family `family`; fontconfig would answer any name with
// its default face, so the match must carry that name.
Result<FontLocation> FamilyFace(const std::string& family) {
  Error none(ErrorReason::NoSuchFamily);
  none.name = family;
  const PatternHandle pattern(FcPatternCreate(), &FcPatternDestroy);
  if (!pattern) return none;
  FcPatternAddString(pattern.get(), FC_FAMILY, Chars(family.c_str()));
  const PatternHandle match = Match(pattern.get());
  FcChar8* name = nullptr;
  for (int i = 0; match && FcPatternGetString(match.get(), FC_FAMILY, i, &name) == FcResultMatch;
       ++i) {
    if (::strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) {
      if (std::optional<FontLocation> location = FileOf(match.get())) return *location;
    }
  }
  return none;
}

bool Turnable(FcPattern* font) {
  FcBool outline = FcFalse;
  FcBool color = FcFalse;
  return FcPatternGetBool(font, FC_OUTLINE, 0, &outline) == FcResultMatch && outline &&
         !(FcPatternGetBool(font, FC_COLOR, 0, &color) == FcResultMatch && color);
}

}  // namespace

Result<FontLocation> LocateFace(std::string_view choice) {
  if (choice.empty()) return DefaultFace();
  const std::string name(choice);
  struct stat info {};
  if (choice.find('/') != std::string_view::npos || ::stat(name.c_str(), &info) == 0) {
    return FontLocation{name, 0};
  }
  return FamilyFace(name);
}

Result<FontLocation> LocateChosenFace(std::optional<std::string_view> option,
                                      std::string_view saved) {
  if (option) return LocateFace(*option);
  if (const char* env = std::getenv("LUMO_FONT"); env != nullptr && *env != '\0') {
    return LocateFace(env);
  }
  return LocateFace(saved);
}

std::optional<FontLocation> FaceHaving(char32_t codePoint) {
  const PatternHandle pattern(FcPatternCreate(), &FcPatternDestroy);
  const CharSetHandle chars(FcCharSetCreate(), &FcCharSetDestroy);
  if (!pattern || !chars || !FcCharSetAddChar(chars.get(), codePoint)) return std::nullopt;
  FcPatternAddCharSet(pattern.get(), FC_CHARSET, chars.get());
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  FcPatternAddBool(pattern.get(), FC_COLOR, FcFalse);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  // The best match has it nearly always; where it does not, the ranked list
  // is searched for one that has.
  FcResult result = FcResultNoMatch;
  const FontSetHandle ranked(FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result),
                             &FcFontSetDestroy);
  for (int i = 0; ranked && i < ranked->nfont; ++i) {
    FcPattern* font = ranked->fonts[i];
    FcCharSet* has = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &has) == FcResultMatch &&
        FcCharSetHasChar(has, codePoint) && Turnable(font)) {
      return FileOf(font);
    }
  }
  return std::nullopt;
}

}  // namespace lumo
