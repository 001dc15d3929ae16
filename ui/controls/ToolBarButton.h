#pragma once
// A toolbar button of fixed size with its image on top and its text below, wrapped onto two
// lines: at 55 pixels a word like "Download" would otherwise be cut.

#include <QtWidgets/QToolButton>

namespace vesk {

class CToolBarButton : public QToolButton {
  Q_OBJECT
 public:
  CToolBarButton(QAction* action, int size, int imageSize, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {size_, size_}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int size_;
  int imageSize_;
};

}  // namespace vesk
