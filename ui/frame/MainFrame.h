#pragma once
// The main window: the menu, the toolbar of 15 large buttons and the status bar of four panes,
// all texted from the language tables, with the main view filling the rest.

#include <QtCore/QHash>
#include <QtCore/QTimer>
#include <QtWidgets/QMainWindow>
#include <array>

class QLabel;
class QToolBar;
class QAction;
class QToolButton;

namespace vesk {

class CZavDoc;
class CZavView;
class IAppCommands;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  CMainFrame(IAppCommands* app, CZavDoc* doc);
  ~CMainFrame() override;

  // Menu and toolbar texts; the menu is rebuilt from its layout so that no text of the
  // previous language survives.
  void RetextFrame();
  // Pane widths from the screen width and the four pane texts.
  void RetextStatusBar();
  // After a language change: title, view, menu, toolbar and status bar.
  void RetextAll();
  // Enables every menu item and toolbar button by its rule.
  void UpdateCommandUI();
  // Runs a command as the menu or the toolbar would; false for an unknown or disabled id.
  bool ExecuteCommand(int id);
  // The private message that opens a case; returns 1.
  int OnOpenDataMessage();

  CZavView* View() const { return view_; }
  CZavDoc* Doc() const { return doc_; }
  IAppCommands* App() const { return app_; }
  QToolBar* ToolBar() const { return toolbar_; }
  QAction* MenuAction(int id) const { return menuActions_.value(id); }
  QAction* ToolAction(int id) const { return toolActions_.value(id); }
  // The toolbar buttons in their order.
  const QList<QToolButton*>& ToolButtons() const { return toolButtons_; }
  QLabel* StatusPane(int index) const { return panes_.at(size_t(index)); }

 protected:
  bool event(QEvent* e) override;

 private:
  void CreateToolBar();
  void CreateStatusBar();
  void PlaceOnScreen();
  QAction* NewAction(int id, QObject* parent);

  IAppCommands* app_;
  CZavDoc* doc_;
  CZavView* view_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  std::array<QLabel*, 4> panes_{};
  QHash<int, QAction*> menuActions_;
  QHash<int, QAction*> toolActions_;
  QList<QToolButton*> toolButtons_;
  QTimer idleUpdate_;
};

}  // namespace vesk
