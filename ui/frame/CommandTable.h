#pragma once
// The one table of all commands: id, menu and toolbar texts, the receiver, the enabling rule
// and the action. The menu, the toolbar, the enabling pass and the dispatch all read it.

#include <span>
#include <vector>

#include "common/Globals.h"
#include "common/Texts.h"

namespace vesk {

class CZavDoc;
class CZavView;

// The commands the application object answers. It sits above the main window, which knows it
// only through this.
class IAppCommands {
 public:
  virtual ~IAppCommands() = default;
  virtual void OnAbout() = 0;
};

enum class Receiver { View, Document, Application };
enum class EnableRule {
  Always,
  CaseOpen,     // a case is open
  CaseHasSpO2,  // the opened case carries an SpO2 series
};

struct CommandTargets {
  IAppCommands* app = nullptr;
  CZavDoc* doc = nullptr;
  CZavView* view = nullptr;
};

struct CommandEntry {
  int id = 0;
  TextRef menuText;                  // empty: no menu item
  const char* toolbarKey = nullptr;  // section "Global Setting"; null: no toolbar button
  Receiver receiver = Receiver::View;
  EnableRule rule = EnableRule::Always;
  void (*action)(const CommandTargets&) = nullptr;  // null: nothing happens (yet)
};

std::span<const CommandEntry> CommandTable();
const CommandEntry* FindCommand(int id);
bool IsEnabled(EnableRule rule, const CaseFlags& flags);
bool IsCommandEnabled(int id, const CaseFlags& flags);

// The toolbar, by button index.
std::span<const int> ToolbarCommands();

// The main menu: top-level entries in order; an entry is either a drop-down (title and item
// ids, 0 for a separator) or a single command shown in the menu bar itself.
struct MenuEntry {
  TextRef title;  // drop-downs only
  std::vector<int> items;
  int command = 0;  // single command
};
const std::vector<MenuEntry>& MainMenuLayout();

}  // namespace vesk
