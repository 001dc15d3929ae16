#pragma once
// The document: the commands that do not need the opened case or the chart (settings, users,
// language, case management and the other dialogs).

#include <QtCore/QObject>

namespace vesk {

class CMainFrame;

class CZavDoc : public QObject {
  Q_OBJECT
 public:
  CZavDoc();
  ~CZavDoc() override;

  void AttachFrame(CMainFrame* frame) { frame_ = frame; }
  CMainFrame* Frame() const { return frame_; }

  void OnCopyData();
  void OnDeleteData();
  void OnSwitchUser();
  void OnExit();
  // The settings dialog on page 0 (case path), 1 (report) or 2 (standard values).
  void OnSettings(int page);
  void OnLanguage();
  void OnSystemSettings();
  void OnWear();

 private:
  QWidget* DialogParent() const;
  CMainFrame* frame_ = nullptr;
};

}  // namespace vesk
