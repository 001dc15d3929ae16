#pragma once
// What the window tests share: a fresh program folder with generated language files, the
// message sink that records every message box, case files made from the sample recordings,
// the start every test function makes from these, and a way to answer a modal dialog that a
// command is about to open.

#include <QtCore/QSize>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QDialog>
#include <functional>
#include <memory>
#include <string>

#include "frame/MainFrame.h"
#include "platform/MessageSink.h"
#include "view/ZavDoc.h"

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
  // Copies the shipped language file into the home folder and makes it the loaded language,
  // for pictures of the windows in the texts users see.
  bool UseShippedLanguage(const std::string& name);
  std::string Read(const std::string& name) const;
  // A case file from the ambulatory sample (with SpO2 samples when miru); returns its path.
  std::string WriteCase(const std::string& relativePath, const std::string& name,
                        const std::string& caseId, bool locked = false, bool miru = false);

 private:
  QTemporaryDir dir_;
};

// Records every message and whether all of them were shown on the window's thread, since a
// message box from a worker thread is a fault even when its text is right.
class WindowThreadSink : public RecordingMessageSink {
 public:
  MessageAnswer Show(const Message& message) override;
  bool onWindowThread = true;
};

// Installs itself as the window layer's message sink while it lives.
class SinkGuard {
 public:
  SinkGuard();
  ~SinkGuard();
  WindowThreadSink sink;
  bool Saw(const std::string& text) const;
};

// The start of one test function: a fresh home folder, the recording sink and the English
// language with an empty configuration; with a frame, also the program's document and its
// main frame on screen. Everything is undone in reverse order, the configuration before the
// sink and the folder, so that no test sees what the one before it left.
struct WithFrame {
  QSize size;  // empty keeps the frame's own
};

class WindowFixture {
 public:
  WindowFixture();
  explicit WindowFixture(WithFrame frame);
  ~WindowFixture();
  WindowFixture(const WindowFixture&) = delete;
  WindowFixture& operator=(const WindowFixture&) = delete;

  CZavView* View() const { return frame->View(); }
  // Writes a case file from the sample recordings and opens it in the frame; a case that
  // does not open ends the program, since every later check would fail for that reason.
  std::string OpenCase(const std::string& relativePath, const std::string& name,
                       const std::string& caseId, bool miru = false);

  TestHome home;
  SinkGuard messages;
  std::unique_ptr<CZavDoc> doc;
  std::unique_ptr<CMainFrame> frame;
};

// The named child; a missing one ends the program with its name rather than a null pointer.
template <typename W>
W* Child(QObject* parent, const char* name) {
  W* w = parent->findChild<W*>(name);
  if (!w) qFatal("no control %s", name);
  return w;
}

// Shows the widget, lets it paint and saves its picture to `path`.
bool SaveShot(QWidget* widget, const QString& path);
std::string ShippedLanguageFile(const std::string& name);

// Arms a zero timer that runs `act` on the modal dialog that the next call opens; the dialog
// is rejected afterwards unless `act` closed it.
void OnNextModal(std::function<void(QDialog*)> act);

// Makes the loaded language the English file of the home folder, with an empty configuration
// object, as the application's start-up would (without the window).
void LoadConfigAndLanguage();
void DropConfig();

}  // namespace vesk::uitest
