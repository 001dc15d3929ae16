#pragma once
// An up-down control beside a buddy edit field, as the bound fields of the main view and the
// standard values page use them: the arrows step the value within its range and write it into
// the buddy; typing into the buddy moves the position.

#include <QtWidgets/QWidget>

class QLineEdit;
class QToolButton;

namespace vesk {

class CUpDown : public QWidget {
  Q_OBJECT
 public:
  CUpDown(QLineEdit* buddy, QWidget* parent = nullptr);

  void SetRange(int lower, int upper);
  int Lower() const { return lower_; }
  int Upper() const { return upper_; }
  int Pos() const { return pos_; }
  // Clamps into the range, writes the buddy, emits positionChanged when it moved.
  void SetPos(int pos);
  QLineEdit* Buddy() const { return buddy_; }

 signals:
  // Any change: an arrow, SetPos or typing into the buddy.
  void positionChanged(int pos);

 private:
  void Step(int delta);
  void FromBuddy(const QString& text);

  QLineEdit* buddy_;
  QToolButton* up_;
  QToolButton* down_;
  int lower_ = 0;
  int upper_ = 100;
  int pos_ = 0;
  bool writing_ = false;
};

}  // namespace vesk
