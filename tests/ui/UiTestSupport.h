#pragma once
// What the window tests share: a fresh program folder with generated language files, the
// message sink that records every message box, case files made from the sample recordings,
// and a way to answer a modal dialog that a command is about to open.

#include <QtCore/QTemporaryDir>
#include <QtWidgets/QDialog>
#include <functional>
#include <memory>
#include <string>

#include "platform/MessageSink.h"

namespace vesk::uitest {

// Every text of a generated language file is this prefix followed by its key, so that a test
// can tell at a glance which language a window shows.
inline constexpr const char* kEnglishPrefix = "EN:";
inline constexpr const char* kChinesePrefix = "\xE4\xB8\xAD:";  // "中:"

class TestHome {
 public:
  // Makes the folder the program folder; writes English.lng and Chinese.lng unless told not.
  explicit TestHome(bool english = true, bool chinese = true);
  ~TestHome();

  std::string Path(const std::string& name) const;  // path below the home folder
  void WriteLanguage(const std::string& name, const std::string& prefix);
  // "Language" of "Previous Config" in MreConfig.ini.
  void StoreLanguage(const std::string& name);
  std::string Read(const std::string& name) const;
  // A case file from the ambulatory sample (with SpO2 samples when miru); returns its path.
  std::string WriteCase(const std::string& relativePath, const std::string& name,
                        const std::string& caseId, bool locked = false, bool miru = false);

 private:
  QTemporaryDir dir_;
};

// Installs itself as the window layer's message sink while it lives.
class SinkGuard {
 public:
  SinkGuard();
  ~SinkGuard();
  RecordingMessageSink sink;
  bool Saw(const std::string& text) const;
};

// Arms a zero timer that runs `act` on the modal dialog that the next call opens; the dialog
// is rejected afterwards unless `act` closed it.
void OnNextModal(std::function<void(QDialog*)> act);

// Makes the loaded language the English file of the home folder, with an empty configuration
// object, as the application's start-up would (without the window).
void LoadConfigAndLanguage();
void DropConfig();

}  // namespace vesk::uitest
