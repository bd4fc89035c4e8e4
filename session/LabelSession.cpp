// The label session: every input ends in the same sequence, lay out, draw,
// write.
#include "LabelSession.h"

#include "FolderListing.h"
#include "LabelComposer.h"
#include "LabelExport.h"
#include "TextIntake.h"

namespace lumo {

LabelSession::LabelSession(std::filesystem::path outputDirectory,
                           std::optional<Result<std::shared_ptr<LabelFace>>> face)
    : outputDirectory_(std::move(outputDirectory)), face_(std::move(face)) {
  // The defaults always give a canvas.
  (void)CreateCanvas(settings_);
}

void LabelSession::SetFace(Result<std::shared_ptr<LabelFace>> face) {
  face_ = std::move(face);
  drawn_ = false;
}

void LabelSession::SetOutputDirectory(std::filesystem::path outputDirectory) {
  outputDirectory_ = std::move(outputDirectory);
}

std::size_t LabelSession::MissingCharacters() const {
  return face() ? (*face())->MissingCharacters(layout_) : 0;
}

Result<void> LabelSession::CreateCanvas(const LabelSettings& settings) {
  if (Result<void> created = lumo::CreateCanvas(canvas_, settings); !created) return created;
  settings_ = settings;
  drawn_ = false;
  return {};
}

void LabelSession::SetLabelText(LabelText text) {
  text.Truncate(kTextCeiling);
  text_ = std::move(text);
}

void LabelSession::TakePaste(std::string_view utf8) { SetLabelText(PastedText(utf8)); }

Result<void> LabelSession::TakeTextFile(const std::filesystem::path& path) {
  Result<LabelText> read = ReadTextFile(path, canvas_.geometry.textCapacity);
  if (!read) return read.error();
  text_ = std::move(*read);
  return {};
}

Result<void> LabelSession::TakeFolder(const std::string& folder) {
  Result<LabelText> listing = BuildFolderListing(folder);
  SetLabelText(listing ? std::move(*listing) : LabelText());
  if (!listing) return listing.error();
  return {};
}

const LabelLayout& LabelSession::LayOutLabel() {
  layout_ = lumo::ComposeLayout(canvas_.geometry, settings_, text_.bytes, text_.extras);
  // What the intake read beyond the text it kept did not fit either; it is
  // told once, and the text from now on is what was kept.
  layout_.leftOffBytes += text_.beyond.bytes;
  layout_.leftOffCharacters += text_.beyond.characters;
  layout_.leftOffMore = text_.beyond.more;
  text_.Truncate(layout_.keptBytes);
  text_.beyond = {};
  lowerText_ = text_.bytes.substr(layout_.lowerStart);
  drawn_ = false;
  return layout_;
}

const LabelLayout& LabelSession::ComposeLabel() {
  LayOutLabel();
  DrawIfNeeded();
  return layout_;
}

void LabelSession::PrepareCanvas() {
  if (drawn_ || cleared_) return;
  ClearCanvas(canvas_);
  cleared_ = true;
}

void LabelSession::DrawIfNeeded() {
  if (drawn_) return;
  // Cleared first: the face may still be being looked up meanwhile.
  PrepareCanvas();
  cleared_ = false;
  if (const auto& drawWith = face()) (*drawWith)->Draw(canvas_.image, layout_.glyphs, layout_.extras);
  drawn_ = true;
}

Result<std::filesystem::path> LabelSession::RenderAndSave(LabelFormat format) {
  LayOutLabel();
  // The vector formats are drawn from the layout; only the others need
  // pixels, which a bitmap's file takes while they are drawn.
  if (!IsRaster(format)) {
    return SaveLabel(format, {canvas_, layout_, settings_.resolutionDpi, face()},
                     outputDirectory_);
  }
  PrepareCanvas();
  cleared_ = false;
  drawn_ = true;
  return DrawAndSaveLabel(format, canvas_, layout_, settings_.resolutionDpi, face(),
                          outputDirectory_);
}

Result<std::filesystem::path> LabelSession::RenderAndSaveSheet(const SheetPage& sheet) {
  LayOutLabel();
  return SaveSheet({canvas_, layout_, settings_.resolutionDpi, face()}, sheet, outputDirectory_);
}

Result<void> LabelSession::Export(LabelFormat format, const std::filesystem::path& path) {
  if (IsRaster(format)) DrawIfNeeded();
  return ExportLabel(format, {canvas_, layout_, settings_.resolutionDpi, face()}, path);
}

}  // namespace lumo
