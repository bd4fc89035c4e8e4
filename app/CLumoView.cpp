// The preview view: label canvas, text intake and the zoomable preview.
#include "CLumoView.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFont>
#include <QFontDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QUrl>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <system_error>

#include "AcceptanceRules.h"
#include "CLumoDoc.h"
#include "CodePage932.h"
#include "DroppedFiles.h"
#include "ErrorText.h"
#include "FaceChoice.h"
#include "Surface.h"
#include "TextIntake.h"
#include "Timing.h"

namespace {

// The first local file of a drag, as the file system spells its name.
std::string FirstLocalFile(const QMimeData* data) {
  const QStringList files = DroppedFiles(data);
  return files.isEmpty() ? std::string() : QFile::encodeName(files.constFirst()).toStdString();
}

// The directory the program was started from, where the label files go,
// wherever the program moves later.
std::filesystem::path StartDirectory() {
  std::error_code error;
  return std::filesystem::current_path(error);
}

// The label's text as Unicode: each character beyond code page 932 itself,
// bytes without a character as U+FFFD, and line ends as Linux writes them.
QString UnicodeText(const lumo::LabelText& text) {
  std::u32string unicode;
  auto extra = text.extras.begin();
  for (std::size_t pos = 0; pos < text.bytes.size();) {
    const std::size_t length = lumo::cp932::CharLength(text.bytes, pos);
    if (extra != text.extras.end() && extra->position == pos) {
      unicode += (extra++)->cluster;
    } else {
      const char32_t code = lumo::cp932::ToCodePoint(text.bytes.substr(pos, length));
      unicode += code == lumo::cp932::kNoCodePoint ? U'\uFFFD' : code;
    }
    pos += length;
  }
  return QString::fromUcs4(unicode.data(), static_cast<qsizetype>(unicode.size()))
      .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::optional<QString> AskForFont(const QString& current) {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, QFont(current), QApplication::activeWindow(),
                                          QStringLiteral("ﾌｫﾝﾄ"));
  if (!chosen) return std::nullopt;
  return font.family();
}

}  // namespace

CLumoView::CLumoView(CLumoDoc& document, QWidget* parent)
    : QWidget(parent),
      document_(document),
      adjustDlg_(this),
      clipboardReader_(&CLumoView::ReadSystemClipboard),
      fontChooser_(&AskForFont),
      // The worker's word comes back to this thread, in the order given.
      worker_(
          [this](const lumo::LabelWorker::Drawn& drawn) {
            QMetaObject::invokeMethod(this, [this, drawn] { OnDrawn(drawn); }, Qt::QueuedConnection);
          },
          [this](const lumo::LabelWorker::Written& written) {
            QMetaObject::invokeMethod(this, [this, written] { OnWritten(written); },
                                      Qt::QueuedConnection);
          }) {
  session_.SetFace(lumo::LoadChosenFace(std::nullopt, lumo::SavedFaceChoice()));
  SetDestination({StartDirectory()});
  // Every paint covers the whole client area from its back buffer.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

void CLumoView::OnInitialUpdate() {
  setAcceptDrops(true);
  if (!initialized_) {
    initialized_ = true;
    session_.SetLabelText(std::string(lumo::kStartupPrompt));
  }
  // The document refuses settings without a canvas, so this holds; should it
  // not, the view keeps the settings that match its canvas.
  (void)session_.CreateCanvas(document_.settings());
  Refit();
  session_.LayOutLabel();
  Submit(std::nullopt, {}, {});
  ReportLabel(LabelNotes());
}

void CLumoView::OnEditPaste() {
  NoteTime("paste");
  const ClipboardText clipboard = clipboardReader_();
  if (clipboard.state == ClipboardText::State::Unavailable) {
    ReportLabel(QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞを読めません。"));
    return;
  }
  if (clipboard.state == ClipboardText::State::Text) {
    session_.TakePaste(clipboard.text.toUtf8().toStdString());
  }
  RenderAndSave(clipboard.state == ClipboardText::State::NoText
                    ? QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞに文字がないので、今の文字のままです。 ")
                    : QString());
}

void CLumoView::OnEditCopy() {
  const lumo::Surface& canvas = shownCanvas().image;
  auto data = std::make_unique<QMimeData>();
  if (!canvas.empty()) {
    QImage image(canvas.width(), canvas.height(), QImage::Format_RGB32);
    for (int y = 0; y < canvas.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      // The fourth byte is 0 on the canvas; the picture wants it opaque.
      for (const lumo::Pixel pixel : canvas.row(y)) *line++ = pixel | 0xFF000000u;
    }
    const int dotsPerMetre = qRound(session_.settings().resolutionDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    data->setImageData(image);
  }
  data->setText(UnicodeText(session_.text()));
  QGuiApplication::clipboard()->setMimeData(data.release());
}

void CLumoView::OnDropFiles(const std::string& path) {
  droppedPath_ = path;
  if (lumo::HasTxtExtension(droppedPath_)) {
    if (const lumo::Result<void> read = session_.TakeTextFile(droppedPath_); !read) {
      ReportLabel(TextFileNotRead(read.error()));
      return;
    }
  } else {
    // Anything but a folder that can be listed gives an empty label.
    (void)session_.TakeFolder(droppedPath_);
  }
  RenderAndSave();
}

void CLumoView::FitToWidth() {
  fitsWhole_ = false;
  Refit();
}

void CLumoView::FitWhole() {
  fitsWhole_ = true;
  Refit();
}

void CLumoView::Refit() {
  const lumo::CanvasRect& canvas = session_.canvas().geometry.canvasRect;
  preview_ = fitsWhole_ ? lumo::FitWhole(preview_, width(), height(), canvas.width, canvas.height)
                        : lumo::FitToWidth(preview_, width(), canvas.width, canvas.height);
  update();
}

void CLumoView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Otherwise a resize changes neither the zoom nor the centre.
  if (fitsWhole_) Refit();
}

void CLumoView::OnLabelAdjust() {
  const int clientWidth = width();
  const lumo::CanvasRect& canvas = session_.canvas().geometry.canvasRect;
  const std::optional<lumo::PreviewRatios> ratios =
      lumo::CapturePreviewRatios(preview_, canvas.width, canvas.height, clientWidth);

  adjustDlg_.setValues(lumo::ToEntered(session_.settings()));
  adjustDlg_.exec();
  if (adjustDlg_.refusedWhole()) {
    ReportLabel(adjustDlg_.refusal());
    return;
  }
  // However the dialog was closed, what passed its rules is applied. The
  // rules keep the canvas within its limit; should one slip through, the
  // view and the document keep the settings that match the canvas.
  const lumo::LabelSettings adjusted = lumo::FromEntered(adjustDlg_.values());
  if (session_.CreateCanvas(adjusted)) document_.SetSettings(adjusted);
  const lumo::CanvasRect& rebuilt = session_.canvas().geometry.canvasRect;
  preview_ = lumo::RestorePreview(preview_, ratios, clientWidth, rebuilt.width, rebuilt.height);
  if (fitsWhole_) Refit();
  const QString& refusal = adjustDlg_.refusal();
  RenderAndSave(refusal.isEmpty() ? QString() : refusal + QLatin1Char(' '));
}

void CLumoView::RenderAndSave(const QString& before, const QString& after) {
  session_.LayOutLabel();
  if (!destination_.previewOnly && destination_.makeFolder) {
    // Should it fail, the write fails too and says why.
    std::error_code ignored;
    std::filesystem::create_directories(destination_.folder, ignored);
  }
  Submit(destination_.previewOnly ? std::nullopt : std::optional(destination_.format), before,
         after);
  if (destination_.previewOnly) {
    const QString notes = LabelNotes();
    const QString message = QStringLiteral("ﾌﾟﾚﾋﾞｭｰのみで、ﾌｧｲﾙには書き出していません。");
    ReportLabel(before + (notes.isEmpty() ? message : message + QLatin1Char(' ') + notes) + after);
  }
}

void CLumoView::Submit(std::optional<lumo::LabelFormat> format, QString before, QString after) {
  const std::uint64_t job =
      worker_.Submit({session_.canvas().geometry, session_.layout(),
                      session_.settings().resolutionDpi, session_.face(), format,
                      destination_.folder});
  if (format) pending_[job] = {std::move(before), std::move(after), LabelNotes()};
}

void CLumoView::OnDrawn(const lumo::LabelWorker::Drawn& drawn) {
  shown_ = drawn.canvas;
  shownJob_ = drawn.job;
  update();
}

void CLumoView::OnWritten(const lumo::LabelWorker::Written& written) {
  const auto found = pending_.find(written.job);
  if (found == pending_.end()) return;
  const Pending pending = std::move(found->second);
  pending_.erase(found);
  const QString message = written.saved ? LabelWritten(*written.saved)
                                        : LabelNotWritten(written.saved.error(), destination_.folder);
  ReportLabel(pending.before +
              (pending.notes.isEmpty() ? message : message + QLatin1Char(' ') + pending.notes) +
              pending.after);
}

void CLumoView::WaitForLabels() {
  worker_.Wait();
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

const lumo::LabelCanvas& CLumoView::shownCanvas() {
  WaitForLabels();
  return shown_ ? *shown_ : session_.canvas();
}

void CLumoView::SetDestination(const LabelDestination& destination) {
  destination_ = destination;
  session_.SetOutputDirectory(destination_.folder);
}

QString CLumoView::LabelNotes() const {
  QStringList notes;
  if (const lumo::LabelLayout& layout = session_.layout(); layout.leftOffBytes > 0) {
    // Beyond what an intake reads to count, there was more still.
    notes << (layout.leftOffMore ? QStringLiteral("入りきらない %1 文字以上 (%2 ﾊﾞｲﾄ以上) は省きました。")
                                 : QStringLiteral("入りきらない %1 文字 (%2 ﾊﾞｲﾄ) は省きました。"))
                 .arg(layout.leftOffCharacters)
                 .arg(layout.leftOffBytes);
  }
  if (const std::size_t missing = session_.MissingCharacters(); missing > 0) {
    notes << QStringLiteral("どのﾌｫﾝﾄにもない %1 文字は □ で示しました。").arg(missing);
  }
  return notes.join(QLatin1Char(' '));
}

void CLumoView::OnChooseFont() {
  const auto& face = session_.face();
  const std::optional<QString> chosen =
      fontChooser_(face ? QString::fromStdString((*face)->family()) : QString());
  if (!chosen) return;
  const std::string family = chosen->toStdString();
  // A face that cannot be had is not taken: the label keeps the one it has.
  lumo::Result<std::shared_ptr<lumo::LabelFace>> loaded =
      lumo::LoadChosenFace(std::nullopt, family);
  if (!loaded) {
    ReportLabel(FaceNotTaken(loaded.error()));
    return;
  }
  QString notes;
  if (const lumo::Result<void> saved = lumo::SaveFaceChoice(family); !saved) {
    notes = FaceChoiceNotSaved(saved.error());
  }
  if (const char* env = std::getenv("LUMO_FONT"); env != nullptr && *env != '\0') {
    notes = QStringLiteral("LUMO_FONT のﾌｫﾝﾄが優先されます。");
  }
  session_.SetFace(std::move(loaded));
  RenderAndSave({}, notes.isEmpty() ? QString() : QLatin1Char(' ') + notes);
}

void CLumoView::ReportLabel(const QString& message) {
  labelStatus_ = message;
  emit labelStatusChanged(message);
}

void CLumoView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  OnDraw(painter);
  if (shownJob_ > paintedJob_) {
    paintedJob_ = shownJob_;
    NoteTime("painted");
  }
}

void CLumoView::OnDraw(QPainter& painter) {
  const QImage backBuffer = RenderPreview(devicePixelRatioF());
  if (!backBuffer.isNull()) painter.drawImage(0, 0, backBuffer);
}

QImage CLumoView::RenderPreview(qreal devicePixelRatio) const {
  const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  const int w = static_cast<int>(std::ceil(width() * ratio));
  const int h = static_cast<int>(std::ceil(height() * ratio));
  if (w <= 0 || h <= 0) return {};
  auto backBuffer = std::make_unique<lumo::Surface>(w, h);
  // Until the first label is drawn, the preview is white.
  static const lumo::LabelCanvas kNone;
  const lumo::LabelCanvas& canvas = shown_ ? *shown_ : kNone;
  const lumo::PreviewRect dest =
      lumo::DevicePreviewDestination(preview_, canvas.geometry.canvasRect.width, width(), ratio);
  if (!canvas.image.empty() && dest.width > 0 && dest.height > 0) {
    lumo::ScaledCopy(*backBuffer, dest.x, dest.y, dest.width, dest.height, canvas.image);
  }
  // The surface leaves the fourth byte 0; a QImage of 32-bit RGB wants it 0xFF
  // before it may copy the pixels as they are.
  for (int y = 0; y < h; ++y) {
    for (lumo::Pixel& pixel : backBuffer->row(y)) pixel |= 0xFF000000u;
  }
  // The image takes the surface over, so the pixels are not copied once more.
  lumo::Surface* pixels = backBuffer.release();
  QImage image(
      reinterpret_cast<uchar*>(pixels->row(0).data()), w, h, static_cast<qsizetype>(w) * 4,
      QImage::Format_RGB32, [](void* surface) { delete static_cast<lumo::Surface*>(surface); },
      pixels);
  if (guideShown_ && dest.width > 0) DrawDiscGuide(image, dest, ratio);
  image.setDevicePixelRatio(ratio);
  return image;
}

void CLumoView::ShowDiscGuide(bool shown) {
  guideShown_ = shown;
  update();
}

void CLumoView::SetGuideSheet(const lumo::Sheet& sheet) {
  guideSheet_ = sheet;
  update();
}

void CLumoView::DrawDiscGuide(QImage& backBuffer, const lumo::PreviewRect& label,
                              double devicePixelRatio) const {
  // The label's centre is its canvas's, and its side the canvas's at its resolution.
  const double labelSideMm =
      session_.canvas().geometry.canvasRect.width * 25.4 / session_.settings().resolutionDpi;
  const lumo::Sheet disc = lumo::SheetForPaper(guideSheet_, 0, 0, session_.settings().diameterMm);
  const double pixelsPerMm = label.width / labelSideMm;
  const QPointF centre(label.x + label.width / 2.0, label.y + label.height / 2.0);
  QPainter painter(&backBuffer);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 90, 220), 2 * devicePixelRatio));
  painter.setBrush(Qt::NoBrush);
  const double edge = disc.discMm / 2 * pixelsPerMm;
  painter.drawEllipse(centre, edge, edge);
  // What the hole takes away is shaded, so the rings it cuts stand out.
  painter.setBrush(QColor(220, 0, 0, 60));
  const double hole = disc.holeMm / 2 * pixelsPerMm;
  if (hole > 0) painter.drawEllipse(centre, hole, hole);
}

void CLumoView::wheelEvent(QWheelEvent* event) {
  const QPoint angle = event->angleDelta();
  // Tilting the wheel sideways, and a touchpad opening or closing a scroll,
  // are not steps of the wheel.
  const bool sideways = angle.y() == 0 && angle.x() != 0;
  const bool scrollEdge =
      angle.isNull() && (event->phase() == Qt::ScrollBegin || event->phase() == Qt::ScrollEnd);
  if (sideways || scrollEdge) {
    // What one touchpad scroll left over is not carried into the next.
    if (scrollEdge) wheel_ = {};
    event->ignore();
    return;
  }
  ZoomSteps(wheel_.Add(angle.y()), event->position());
  event->accept();
}

void CLumoView::ZoomAboutCentre(int steps) {
  ZoomSteps(steps, QPointF(width() * 0.5, height() * 0.5));
}

void CLumoView::ZoomSteps(int steps, QPointF about) {
  if (steps == 0) return;
  fitsWhole_ = false;
  const int delta = steps > 0 ? lumo::kWheelDeltaPerStep : -lumo::kWheelDeltaPerStep;
  for (int i = 0; i < std::abs(steps); ++i) {
    const lumo::PreviewState next = lumo::WheelStep(preview_, delta, about.x(), about.y(), width());
    // Once a step is refused at a bound, so is every further one.
    if (next == preview_) break;
    preview_ = next;
  }
  update();
}

void CLumoView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  dragPointer_ = event->position();
  setCursor(Qt::ClosedHandCursor);
  event->accept();
}

void CLumoView::mouseMoveEvent(QMouseEvent* event) {
  // A release that went elsewhere (a dialog took the mouse) ends the drag too.
  if (dragPointer_ && !(event->buttons() & Qt::LeftButton)) {
    dragPointer_.reset();
    unsetCursor();
  }
  if (!dragPointer_) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  const QPointF moved = event->position() - *dragPointer_;
  dragPointer_ = event->position();
  fitsWhole_ = false;
  preview_ = lumo::Pan(preview_, moved.x(), moved.y());
  update();
  event->accept();
}

void CLumoView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragPointer_) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  dragPointer_.reset();
  unsetCursor();
  event->accept();
}

void CLumoView::dragEnterEvent(QDragEnterEvent* event) {
  if (!FirstLocalFile(event->mimeData()).empty()) event->acceptProposedAction();
}

void CLumoView::dropEvent(QDropEvent* event) {
  const std::string path = FirstLocalFile(event->mimeData());
  if (path.empty()) return;
  event->acceptProposedAction();
  OnDropFiles(path);
}

CLumoView::ClipboardText CLumoView::ReadSystemClipboard() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
  if (data == nullptr) return {ClipboardText::State::Unavailable, {}};
  if (!data->hasText()) return {ClipboardText::State::NoText, {}};
  return {ClipboardText::State::Text, data->text()};
}
