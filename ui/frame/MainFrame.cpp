#include "frame/MainFrame.h"

#include <QtGui/QCloseEvent>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>

#include "app/AppInfo.h"
#include "common/Texts.h"
#include "controls/ToolBarButton.h"
#include "frame/CommandIds.h"
#include "frame/CommandTable.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

// The images are compiled into the ui library; a static library needs its resources named.
static void InitUiResources() {
  Q_INIT_RESOURCE(vesk);
}

namespace vesk {

namespace {

constexpr int kButtonSize = 55;
constexpr int kImageSize = 32;
// The framework's ids of the toolbar and the status bar.
constexpr const char* kToolBarId = "59392";
constexpr const char* kStatusBarId = "59393";
const QEvent::Type kOpenDataEvent = QEvent::Type(cmd::kOpenDataMessage);

}  // namespace

CMainFrame::CMainFrame(IAppCommands* app, CZavDoc* doc) : app_(app), doc_(doc) {
  // Caption, system menu and minimise box only: the window always covers the screen.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setObjectName("MainFrame");
  InitUiResources();
  view_ = new CZavView(doc, this);
  setCentralWidget(view_);
  connect(view_, &CZavView::caseOpened, this, &CMainFrame::UpdateCommandUI);
  if (doc_) {
    doc_->AttachFrame(this);
    connect(doc_, &CZavDoc::settingsChanged, view_, qOverload<>(&QWidget::update));
    connect(doc_, &CZavDoc::languageChanged, this, &CMainFrame::RetextAll);
  }
  CreateToolBar();
  RetextFrame();
  CreateStatusBar();
  RetextStatusBar();
  PlaceOnScreen();
  setWindowTitle(Qs(g_AppTitle));
  UpdateCommandUI();
  // Like the framework's idle pass: the rules follow the case state whatever changed it.
  idleUpdate_.setInterval(250);
  connect(&idleUpdate_, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
  idleUpdate_.start();
}

CMainFrame::~CMainFrame() {
  if (doc_) doc_->AttachFrame(nullptr);
}

QAction* CMainFrame::NewAction(int id, QObject* parent) {
  auto* a = new QAction(parent);
  a->setObjectName(QString::number(id));
  a->setData(id);
  connect(a, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
  return a;
}

void CMainFrame::CreateToolBar() {
  toolbar_ = new QToolBar(this);
  toolbar_->setObjectName(kToolBarId);
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  toolbar_->setIconSize(QSize(kImageSize, kImageSize));
  toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, toolbar_);

  const QPixmap strip(":/res/Toolbar.png");
  const auto commands = ToolbarCommands();
  const int w = strip.isNull() ? kImageSize : strip.width() / int(commands.size());
  for (size_t i = 0; i < commands.size(); ++i) {
    QAction* a = NewAction(commands[i], toolbar_);
    if (!strip.isNull()) a->setIcon(QIcon(strip.copy(int(i) * w, 0, w, strip.height())));
    auto* button = new CToolBarButton(a, kButtonSize, kImageSize, toolbar_);
    button->setObjectName("tb" + QString::number(commands[i]));
    toolbar_->addWidget(button);
    toolButtons_.push_back(button);
    toolActions_.insert(commands[i], a);
  }
}

void CMainFrame::RetextFrame() {
  const auto commands = ToolbarCommands();
  for (int id : commands) {
    const CommandEntry* e = FindCommand(id);
    QAction* a = toolActions_.value(id);
    if (!e || !a) continue;
    const QString text = Tx(kGlobalSetting, e->toolbarKey);
    a->setText(text);
    // Tooltips only: a status tip would hide the four panes while the mouse rests.
    a->setToolTip(text);
  }

  // The menu is made anew from its layout, as loading the menu resource did.
  QMenuBar* bar = menuBar();
  for (QAction* a : bar->actions())
    if (QMenu* old = a->menu()) old->deleteLater();
  bar->clear();
  for (QAction* a : std::as_const(menuActions_)) a->deleteLater();
  menuActions_.clear();
  auto addCommand = [this](QWidget* where, int id) {
    const CommandEntry* e = FindCommand(id);
    QAction* a = NewAction(id, this);
    if (e) a->setText(Tx(e->menuText));
    where->addAction(a);
    menuActions_.insert(id, a);
  };
  for (const MenuEntry& entry : MainMenuLayout()) {
    if (entry.command) {
      addCommand(bar, entry.command);
      continue;
    }
    QMenu* menu = bar->addMenu(Tx(entry.title));
    menu->setObjectName(QString("menu_") + entry.title.key);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    for (int id : entry.items) {
      if (id == 0)
        menu->addSeparator();
      else
        addCommand(menu, id);
    }
  }
  UpdateCommandUI();
  bar->update();
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(kStatusBarId);
  bar->setSizeGripEnabled(false);
  for (size_t i = 0; i < panes_.size(); ++i) {
    panes_[i] = new QLabel(bar);
    panes_[i]->setObjectName("pane" + QString::number(i));
    panes_[i]->setFrameShape(QFrame::Panel);
    panes_[i]->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panes_[i]);
  }
}

void CMainFrame::RetextStatusBar() {
  const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
  const int w = screen ? screen->geometry().width() : 1024;
  static const char* const keys[] = {"IDS_IDLEMESSAGE", "IDS_INDICATOR_CAPS", "IDS_INDICATOR_NUM",
                                     "IDS_INDICATOR_SCRL"};
  for (size_t i = 0; i < panes_.size(); ++i) {
    // The idle message takes seven tenths of the screen, each indicator one tenth.
    panes_[i]->setFixedWidth(i == 0 ? 7 * w / 10 : w / 10);
    panes_[i]->setText(Tx(kGlobalSetting, keys[i]));
  }
}

void CMainFrame::RetextAll() {
  setWindowTitle(Qs(g_AppTitle));
  view_->Retext();
  RetextFrame();
  RetextStatusBar();
  update();
}

void CMainFrame::PlaceOnScreen() {
  const QScreen* screen = QApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  setGeometry(area);
  setFixedSize(area.size());
}

void CMainFrame::UpdateCommandUI() {
  const CaseFlags flags = CurrentCaseFlags();
  for (auto* map : {&menuActions_, &toolActions_}) {
    for (auto it = map->cbegin(); it != map->cend(); ++it)
      it.value()->setEnabled(IsCommandEnabled(it.key(), flags));
  }
}

bool CMainFrame::ExecuteCommand(int id) {
  const CommandEntry* e = FindCommand(id);
  if (!e || !IsEnabled(e->rule, CurrentCaseFlags())) return false;
  if (e->action) e->action(CommandTargets{app_, doc_, view_});
  UpdateCommandUI();
  return true;
}

int CMainFrame::OnOpenDataMessage() {
  ExecuteCommand(cmd::kOpenData);
  return 1;
}

bool CMainFrame::event(QEvent* e) {
  if (e->type() == kOpenDataEvent) {
    OnOpenDataMessage();
    return true;
  }
  return QMainWindow::event(e);
}

}  // namespace vesk
