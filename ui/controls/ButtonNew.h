#pragma once
// The owner-drawn button of the main view: a flat face whose colour tells its state (normal,
// under the mouse, pressed) and a large caption.

#include <QtWidgets/QAbstractButton>

namespace vesk {

class CButtonNew : public QAbstractButton {
  Q_OBJECT
 public:
  explicit CButtonNew(QWidget* parent = nullptr);

  static const QColor kFaceNormal;
  static const QColor kFaceHot;
  static const QColor kFacePressed;
  // Cell height of the caption font, in pixels.
  static constexpr int kTextSize = 30;

  QColor CurrentFace() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;

 private:
  bool hot_ = false;
};

}  // namespace vesk
