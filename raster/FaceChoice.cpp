// The window's face choice as one line of UTF-8 in ~/.config/lumo/face.
#include "FaceChoice.h"

#include <cstdlib>

#include "FileStart.h"
#include "FontLocation.h"
#include "UserConfig.h"

namespace lumo {
namespace {

// Far beyond any family name or font path a user would give.
constexpr std::size_t kMostChoiceBytes = 4096;

std::filesystem::path ChoiceFile() { return UserConfigFolder() / "face"; }

}  // namespace

std::string SavedFaceChoice() {
  const Result<FileStart> start = ReadFileStart(ChoiceFile(), kMostChoiceBytes);
  if (!start || !start->wholeFile) return {};
  std::string choice = start->bytes.substr(0, start->bytes.find('\n'));
  if (choice.find('\0') != std::string::npos) return {};
  return choice;
}

Result<void> SaveFaceChoice(std::string_view choice) {
  // A line break or a NUL would not read back as the same choice.
  if (choice.find_first_of(std::string_view("\n\0", 2)) != std::string_view::npos) {
    Error refused(ErrorReason::NoSuchFamily);
    refused.name = std::string(choice);
    return refused;
  }
  return WriteConfigFile(ChoiceFile(), std::string(choice) + "\n");
}

Result<std::shared_ptr<LabelFace>> LoadChosenFace(std::optional<std::string_view> option,
                                                  std::string_view saved) {
  const char* env = std::getenv("LUMO_FONT");
  if (!option && (env == nullptr || *env == '\0') && saved.empty()) return DefaultLabelFace();
  const Result<FontLocation> location = LocateChosenFace(option, saved);
  if (!location) return location.error();
  return LabelFace::Load(*location);
}

}  // namespace lumo
