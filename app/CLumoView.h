// The one view of the main window: owns the label canvas and its texts, takes
// pasted and dropped text, and shows the label in a zoomable preview.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "CAdjustDlg.h"
#include "LabelFormat.h"
#include "LabelSession.h"
#include "LabelWorker.h"
#include "PreviewGeometry.h"
#include "Sheet.h"

class CLumoDoc;
class QDragEnterEvent;
class QDropEvent;
class QImage;
class QMouseEvent;
class QPaintEvent;
class QPainter;
class QResizeEvent;
class QWheelEvent;

// Where and how every rendered label is written.
struct LabelDestination {
  std::filesystem::path folder;
  lumo::LabelFormat format = lumo::LabelFormat::Bmp;
  // Shown, never written.
  bool previewOnly = false;
  // The folder is lumo's own, made when a label first goes there.
  bool makeFolder = false;
};

class CLumoView : public QWidget {
  Q_OBJECT
 public:
  // What a paste finds: no clipboard to read at all, a clipboard without
  // text, or its text.
  struct ClipboardText {
    enum class State { Unavailable, NoText, Text };
    State state = State::NoText;
    QString text;
  };
  using ClipboardReader = std::function<ClipboardText()>;
  // Asks for a font family, offering `current`; nothing when cancelled.
  using FontChooser = std::function<std::optional<QString>(const QString& current)>;

  explicit CLumoView(CLumoDoc& document, QWidget* parent = nullptr);

  // Takes the document's settings and rebuilds the canvas, fitted to the
  // window; on the first run the label text becomes the drop prompt. Composes
  // the label without writing a file.
  void OnInitialUpdate();

  // Clipboard text becomes the label text; then the label is rendered, saved
  // and repainted. A clipboard without text renders the current text again,
  // and the status bar says there was none.
  void OnEditPaste();
  // The label as a picture and its text as text, both on the clipboard.
  void OnEditCopy();
  // A dropped item: a name ending in ".txt" is read as text, anything else is
  // listed as a folder; then the label is rendered, saved and repainted. A
  // text file that cannot be read changes nothing but the status bar.
  void OnDropFiles(const std::string& path);
  void FitToWidth();
  // The whole label in the middle of the view. The view keeps it so, through
  // every resize, until the user zooms, pans or fits to the width.
  void FitWhole();
  [[nodiscard]] bool fitsWhole() const noexcept { return fitsWhole_; }
  // Wheel steps (positive up, negative down) about the middle of the view.
  void ZoomAboutCentre(int steps);
  // The settings dialog: its values go to the view and the document, the
  // canvas is rebuilt with the preview kept at the same place and size, and
  // the label is rendered and saved.
  void OnLabelAdjust();
  // The font dialog: the chosen family becomes the label's face and the
  // user's saved choice, and the label is rendered and saved with it.
  void OnChooseFont();
  // Lays the label out and has it drawn and written to the next numbered
  // file of the destination in the background; once written, the status bar
  // says which file that was, or why none was written, and how much of the
  // text did not fit, between `before` and `after`.
  void RenderAndSave(const QString& before = {}, const QString& after = {});
  // Until every label given is drawn and written, and the status bar told.
  void WaitForLabels();
  // The label as the preview shows it, once every label given is drawn.
  [[nodiscard]] const lumo::LabelCanvas& shownCanvas();
  // Where RenderAndSave writes from now on.
  void SetDestination(const LabelDestination& destination);
  // Tells the status bar what became of the label, until the next word on it.
  void ReportLabel(const QString& message);

  // The label itself: text, settings, canvas, and writing it.
  [[nodiscard]] lumo::LabelSession& session() noexcept { return session_; }
  [[nodiscard]] const lumo::LabelSession& session() const noexcept { return session_; }

  // Where paste takes its text from; the system clipboard unless replaced.
  void SetClipboardReader(ClipboardReader reader) { clipboardReader_ = std::move(reader); }
  // Where the font choice comes from; the font dialog unless replaced.
  void SetFontChooser(FontChooser chooser) { fontChooser_ = std::move(chooser); }

  [[nodiscard]] const lumo::PreviewState& preview() const noexcept { return preview_; }
  // What the status bar last heard about the label.
  [[nodiscard]] const QString& labelStatus() const noexcept { return labelStatus_; }

  // Over the preview, never in a file: the edge and hole of the discs of
  // `sheet` (a centred sheet's disc is the label), so that the user sees
  // which rings the hole cuts and which go beyond the edge.
  void ShowDiscGuide(bool shown);
  void SetGuideSheet(const lumo::Sheet& sheet);
  [[nodiscard]] bool discGuideShown() const noexcept { return guideShown_; }

  // The back buffer of a paint at `devicePixelRatio` device pixels per window
  // pixel: the label is placed by the same window arithmetic at every ratio,
  // but drawn with every device pixel's detail, the disc guide over it.
  [[nodiscard]] QImage RenderPreview(qreal devicePixelRatio) const;

 signals:
  // One line for the status bar about the label just composed or written.
  void labelStatusChanged(const QString& message);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void OnDraw(QPainter& painter);
  void DrawDiscGuide(QImage& backBuffer, const lumo::PreviewRect& label,
                     double devicePixelRatio) const;
  // What the status bar adds about the last layout: text left off, and
  // characters no installed face has.
  [[nodiscard]] QString LabelNotes() const;
  void ZoomSteps(int steps, QPointF about);
  // Fits as the view was last fitted: to the width, or the whole label.
  void Refit();
  [[nodiscard]] static ClipboardText ReadSystemClipboard();
  // Hands the label as laid out to the worker; `format` nothing: drawn only.
  void Submit(std::optional<lumo::LabelFormat> format, QString before, QString after);
  void OnDrawn(const lumo::LabelWorker::Drawn& drawn);
  void OnWritten(const lumo::LabelWorker::Written& written);

  CLumoDoc& document_;
  // Holds labelText, lowerText and the canvas; the label files go to the
  // directory the program was started from.
  lumo::LabelSession session_;
  std::string droppedPath_;
  LabelDestination destination_;
  lumo::PreviewState preview_;
  bool fitsWhole_ = false;
  lumo::WheelAccumulator wheel_;
  // Where the pointer was while the left button drags the preview.
  std::optional<QPointF> dragPointer_;
  CAdjustDlg adjustDlg_;
  bool initialized_ = false;
  ClipboardReader clipboardReader_;
  FontChooser fontChooser_;
  QString labelStatus_;
  bool guideShown_ = false;
  lumo::Sheet guideSheet_ = lumo::CentredSheet();
  // What the status bar is to say around a label still being written, by job.
  struct Pending {
    QString before, after, notes;
  };
  std::map<std::uint64_t, Pending> pending_;
  // The label last drawn, and which of the worker's jobs it was.
  std::shared_ptr<const lumo::LabelCanvas> shown_;
  std::uint64_t shownJob_ = 0;
  std::uint64_t paintedJob_ = 0;
  // Last: it finishes every label given, before the rest goes.
  lumo::LabelWorker worker_;
};
