// A label from text to file, without a window: the settings and the canvas
// they give, the label's text, composing and drawing the label, and writing
// it. Both front ends drive one; the window adds only showing and asking.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "LabelCanvas.h"
#include "LabelFace.h"
#include "LabelFormat.h"
#include "LabelLayout.h"
#include "LabelSettings.h"
#include "LabelText.h"
#include "LabelVector.h"
#include "Result.h"

namespace lumo {

// A session is used by one thread at a time, which may be any thread:
// sessions share nothing but the face, which is safe to share.
class LabelSession {
 public:
  // Numbered files go to `outputDirectory` (empty: the current directory);
  // the glyphs come from `face`, by default the label's default face, looked
  // up only when a label is first drawn. The settings start as the defaults.
  explicit LabelSession(std::filesystem::path outputDirectory = {},
                        std::optional<Result<std::shared_ptr<LabelFace>>> face = {});

  // Draws with `face` from now on.
  void SetFace(Result<std::shared_ptr<LabelFace>> face);
  // Numbered files go to `outputDirectory` from now on (empty: the current directory).
  void SetOutputDirectory(std::filesystem::path outputDirectory);

  // Takes the settings and rebuilds the canvas for them. Settings that give
  // no canvas are refused (SettingsNoCanvas) and everything stays as it was.
  [[nodiscard]] Result<void> CreateCanvas(const LabelSettings& settings);

  // Each intake replaces the label text whole; none keeps more than the
  // ceiling of any text (kTextCeiling), whatever the capacity.
  void SetLabelText(LabelText text);
  // Pasted UTF-8 text, as the platform's clipboard hands it over.
  void TakePaste(std::string_view utf8);
  // A dropped item is one of these two (HasTxtExtension tells which). A text
  // file's first bytes, as many as the label can hold; one that cannot be
  // read changes nothing.
  [[nodiscard]] Result<void> TakeTextFile(const std::filesystem::path& path);
  // The listing of a folder; empty, and why returned, when it cannot be listed.
  [[nodiscard]] Result<void> TakeFolder(const std::string& folder);

  // Lays the label text out for the canvas: the text keeps what fits the
  // capacity and lowerText becomes the lower half's part. No pixels are drawn.
  const LabelLayout& LayOutLabel();
  // The same, then the label drawn on the canvas.
  const LabelLayout& ComposeLabel();
  // Clears the canvas for the next drawing now, so that a caller can have it
  // done while the face is still being looked up.
  void PrepareCanvas();
  // Composes the label (drawn only for a format made of pixels) and writes
  // it to the next numbered file of that format.
  [[nodiscard]] Result<std::filesystem::path> RenderAndSave(LabelFormat format = LabelFormat::Bmp);
  // Lays the label out and writes the next numbered PDF: a page of `sheet`
  // with the label at its places.
  [[nodiscard]] Result<std::filesystem::path> RenderAndSaveSheet(const SheetPage& sheet);
  // Writes the label as last composed to `path`, replacing a file there only
  // once the new one is complete.
  [[nodiscard]] Result<void> Export(LabelFormat format, const std::filesystem::path& path);

  [[nodiscard]] const LabelSettings& settings() const noexcept { return settings_; }
  [[nodiscard]] const LabelCanvas& canvas() const noexcept { return canvas_; }
  [[nodiscard]] const std::string& labelText() const noexcept { return text_.bytes; }
  [[nodiscard]] const LabelText& text() const noexcept { return text_; }
  [[nodiscard]] const std::string& lowerText() const noexcept { return lowerText_; }
  // The label as last laid out, with what of its text did not fit.
  [[nodiscard]] const LabelLayout& layout() const noexcept { return layout_; }
  [[nodiscard]] const Result<std::shared_ptr<LabelFace>>& face() const {
    return face_ ? *face_ : DefaultLabelFace();
  }
  // How many characters of the last layout no installed face has.
  [[nodiscard]] std::size_t MissingCharacters() const;

 private:
  // Draws the last layout unless the canvas already shows it.
  void DrawIfNeeded();

  std::filesystem::path outputDirectory_;
  std::optional<Result<std::shared_ptr<LabelFace>>> face_;
  LabelSettings settings_;
  LabelCanvas canvas_;
  LabelText text_;
  std::string lowerText_;
  LabelLayout layout_;
  bool drawn_ = false;
  bool cleared_ = false;  // ready for drawing, PrepareCanvas done
};

}  // namespace lumo
