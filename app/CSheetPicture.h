// A small picture of a label sheet: its page, each place's disc and hole,
// numbered, the chosen ones filled. A click on a place chooses or drops it.
#pragma once

#include <QList>
#include <QWidget>

#include "Sheet.h"

class CSheetPicture : public QWidget {
  Q_OBJECT
 public:
  explicit CSheetPicture(QWidget* parent = nullptr);

  // A sheet with a page and its discs' sizes (a centred sheet as
  // SheetForPaper gives it); `chosen` positions counted from 0.
  void SetSheet(const lumo::Sheet& sheet, const QList<int>& chosen);

  [[nodiscard]] QSize sizeHint() const override { return {150, 200}; }

 signals:
  void positionClicked(int position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // Millimetres of the page to the widget's pixels.
  [[nodiscard]] QTransform PageToWidget() const;

  lumo::Sheet sheet_;
  QList<int> chosen_;
};
