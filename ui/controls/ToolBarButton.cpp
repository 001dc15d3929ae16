#include "controls/ToolBarButton.h"

#include <QtGui/QPainter>
#include <QtWidgets/QStyleOptionToolButton>
#include <QtWidgets/QStylePainter>

namespace vesk {

CToolBarButton::CToolBarButton(QAction* action, int size, int imageSize, QWidget* parent)
    : QToolButton(parent), size_(size), imageSize_(imageSize) {
  setDefaultAction(action);
  setAutoRaise(true);
  setFixedSize(size, size);
  setIconSize(QSize(imageSize, imageSize));
  QFont f = font();
  f.setPixelSize(9);
  setFont(f);
}

void CToolBarButton::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  p.drawComplexControl(QStyle::CC_ToolButton, option);

  const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
  const QPixmap image = icon().pixmap(QSize(imageSize_, imageSize_), devicePixelRatioF(), mode);
  p.drawPixmap((width() - imageSize_) / 2, 1, image);

  const QRect textArea(1, imageSize_ + 1, width() - 2, height() - imageSize_ - 1);
  const QFontMetrics fm(font());
  QString caption = text();
  // Two lines at most; a longer text loses its end rather than its start.
  const QRect needed = fm.boundingRect(textArea, Qt::TextWordWrap | Qt::AlignHCenter, caption);
  if (needed.height() > textArea.height() || needed.width() > textArea.width())
    caption = fm.elidedText(caption, Qt::ElideRight, textArea.width() * 2 - fm.averageCharWidth());
  p.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  p.drawText(textArea, Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop, caption);
}

}  // namespace vesk
