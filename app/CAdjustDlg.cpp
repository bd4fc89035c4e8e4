// The settings dialog. Its controls sit where its dialog units put them for
// its font, so the layout scales with the font as a dialog template does.
#include "CAdjustDlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <cstddef>

#include "CanvasGeometry.h"
#include "DialogLayout.h"
#include "DialogNumbers.h"
#include "ErrorText.h"

namespace {

struct BoxPlace {
  const char* name;
  int x;
  int y;
};

struct LabelPlace {
  const char* text;
  int x;
  int y;
};

// In the order of the settings, which is also the tab order.
constexpr std::array<BoxPlace, 6> kBoxes{{
    {"IDC_DIAMETER", 30, 6},
    {"IDC_RESOLUTION", 30, 24},
    {"IDC_CIRCLE_CHARS", 30, 42},
    {"IDC_RING_COUNT", 30, 60},
    {"IDC_FIRST_RING", 90, 42},
    {"IDC_USED_RINGS", 90, 60},
}};
constexpr int kBoxWidth = 36;
constexpr int kBoxHeight = 12;

constexpr std::array<LabelPlace, 6> kLabels{{
    {"直径", 0, 6},
    {"解像度", 0, 24},
    {"行", 0, 42},
    {"桁", 0, 60},
    {"開始行", 66, 42},
    {"使用桁", 66, 60},
}};
constexpr int kLabelWidth = 24;
constexpr int kLabelHeight = 12;

constexpr int kDialogWidth = 138;
constexpr int kDialogHeight = 77;

}  // namespace

CAdjustDlg::CAdjustDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("詳細設定"));
  setFont(DialogFont());
  setFixedSize(DialogUnitsRect(font(), 0, 0, kDialogWidth, kDialogHeight).size());

  // The buttons stay hidden; Enter and Esc still reach them.
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("IDOK"));
  okButton_->setGeometry(DialogUnitsRect(font(), 90, 6, 14, 11));
  okButton_->setDefault(true);
  okButton_->hide();
  connect(okButton_, &QPushButton::clicked, this, &CAdjustDlg::accept);

  auto* cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancelButton->setObjectName(QStringLiteral("IDCANCEL"));
  cancelButton->setGeometry(DialogUnitsRect(font(), 114, 6, 14, 12));
  cancelButton->hide();
  connect(cancelButton, &QPushButton::clicked, this, &CAdjustDlg::reject);

  for (std::size_t i = 0; i < kBoxes.size(); ++i) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(kBoxes[i].name));
    box->setGeometry(DialogUnitsRect(font(), kBoxes[i].x, kBoxes[i].y, kBoxWidth, kBoxHeight));
    boxes_[i] = box;
    if (i > 0) setTabOrder(boxes_[i - 1], box);
  }

  for (const LabelPlace& place : kLabels) {
    auto* label = new QLabel(QString::fromUtf8(place.text), this);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(DialogUnitsRect(font(), place.x, place.y, kLabelWidth, kLabelHeight));
  }
}

void CAdjustDlg::setValues(const lumo::EnteredSettings& values) { values_ = values; }

lumo::EnteredSettings CAdjustDlg::values() const { return values_; }

void CAdjustDlg::accept() { readBoxesAndClose(); }

void CAdjustDlg::reject() { readBoxesAndClose(); }

void CAdjustDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Every opening starts from the dialog's own values, which are what the
  // rules fall back on.
  loaded_ = values_;
  writeBoxes();
  boxes_[0]->setFocus(Qt::TabFocusReason);
  boxes_[0]->selectAll();
}

void CAdjustDlg::closeEvent(QCloseEvent* event) {
  if (isVisible()) readBoxesAndClose();
  event->accept();
}

void CAdjustDlg::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (enter && modifiers == Qt::NoModifier) {
    // The default button is hidden, which the stock dialog would skip.
    okButton_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CAdjustDlg::writeBoxes() {
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i]->setText(
        QString::fromStdString(lumo::FormatUnsignedBox(values_.*lumo::kEnteredFields[i])));
  }
}

void CAdjustDlg::readBoxesAndClose() {
  lumo::EnteredSettings entered{};
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    entered.*lumo::kEnteredFields[i] = lumo::ParseUnsignedBox(boxes_[i]->text().toStdString());
  }
  const lumo::RuleVerdicts passed = lumo::CheckAcceptanceRules(entered);
  values_ = lumo::ApplyAcceptanceRules(loaded_, entered);
  // The rules keep the loaded diameter and resolution where the two would
  // give no canvas; taking the other entries then would leave the user with
  // a mix of old and new that nobody asked for.
  refusedWhole_ = (passed.diameter && values_.diameter != entered.diameter) ||
                  (passed.resolution && values_.resolution != entered.resolution);
  if (refusedWhole_) {
    lumo::EnteredSettings asked = loaded_;
    if (passed.diameter) asked.diameter = entered.diameter;
    if (passed.resolution) asked.resolution = entered.resolution;
    refusal_ = SettingsTooLarge(lumo::NoCanvasFor(lumo::FromEntered(asked)));
    values_ = loaded_;
  } else {
    // An entry left as it was shown is no refusal, whatever the rules say of it.
    const auto changed = [&](auto field) { return entered.*field != loaded_.*field; };
    using E = lumo::EnteredSettings;
    refusal_ = EntriesRefused(
        {!passed.diameter && changed(&E::diameter), !passed.resolution && changed(&E::resolution),
         !passed.charsPerCircle && changed(&E::charsPerCircle),
         !passed.ringGroup &&
             (changed(&E::ringCount) || changed(&E::firstRing) || changed(&E::usedRings))});
  }
  done(0);
}
