#include "UiTestSupport.h"

#include <QtCore/QThread>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <fstream>
#include <sstream>

#include "cases/Filemanage.h"
#include "cases/SampleCases.h"
#include "common/Globals.h"
#include "common/UiMessages.h"
#include "language/LanguageKeys.h"
#include "platform/FileUtil.h"
#include "platform/Profile.h"
#include "platform/ProgramDir.h"
#include "view/ZavView.h"

namespace vesk::uitest {

TestHome::TestHome(bool english, bool chinese) {
  SetProgramDir(dir_.path().toStdString());
  fsutil::CreateFolders(Path("Language"));
  if (english) WriteLanguage("English", kEnglishPrefix);
  if (chinese) WriteLanguage("Chinese", kChinesePrefix);
}

TestHome::~TestHome() = default;

std::string TestHome::Path(const std::string& name) const {
  return dir_.path().toStdString() + "/" + name;
}

void TestHome::WriteLanguage(const std::string& name, const std::string& prefix) {
  std::ostringstream out;
  for (const LanguageSection& section : RequiredLanguageKeys()) {
    out << "[" << section.name << "]\r\n";
    for (std::string_view key : section.keys) out << key << "=" << prefix << key << "\r\n";
  }
  fsutil::WriteFileAtomic(Path("Language/" + name + ".lng"), out.str());
}

void TestHome::StoreLanguage(const std::string& name) {
  profile::ProfileFile file(Path("MreConfig.ini"));
  file.Set("Previous Config", "Language", name);
}

bool TestHome::UseShippedLanguage(const std::string& name) {
  std::string bytes;
  if (!fsutil::ReadFile(ShippedLanguageFile(name), bytes)) return false;
  if (!fsutil::WriteFileAtomic(Path("Language/" + name + ".lng"), bytes)) return false;
  g_Language.SetLanguage(name);
  return g_Language.Load();
}

std::string TestHome::Read(const std::string& name) const {
  std::string bytes;
  fsutil::ReadFile(Path(name), bytes);
  return bytes;
}

std::string TestHome::WriteCase(const std::string& relativePath, const std::string& name,
                                const std::string& caseId, bool locked, bool miru) {
  SampleOptions options;
  options.seed = std::hash<std::string>{}(relativePath);
  options.language = 0;
  _FILE_ALL_INFO info = miru ? MakeMiruSample(options) : MakeAmbulatorySample(options);
  info.patient.name = name;
  info.patient.caseId = caseId;
  info.patient.age = 47;
  info.locked = locked ? 1 : 0;
  const std::string path = Path(relativePath);
  fsutil::CreateFolders(path.substr(0, path.find_last_of('/')));
  CFilemanage_2Ver file;
  file.SetCaseFilePath(path);
  file.SetFileInfo(info);
  if (file.SaveAllInfotoCaseFile() != 1) qFatal("could not write the case %s", path.c_str());
  return path;
}

MessageAnswer WindowThreadSink::Show(const Message& message) {
  onWindowThread = onWindowThread && QThread::currentThread() == qApp->thread();
  return RecordingMessageSink::Show(message);
}

SinkGuard::SinkGuard() {
  SetUiSink(&sink);
}
SinkGuard::~SinkGuard() {
  SetUiSink(nullptr);
}

bool SinkGuard::Saw(const std::string& text) const {
  for (const Message& m : sink.messages)
    if (m.text.find(text) != std::string::npos) return true;
  return false;
}

WindowFixture::WindowFixture() {
  LoadConfigAndLanguage();
}

WindowFixture::WindowFixture(WithFrame options) : WindowFixture() {
  doc = std::make_unique<CZavDoc>(*g_Config, g_Language);
  frame = std::make_unique<CMainFrame>(nullptr, doc.get());
  if (!options.size.isEmpty()) frame->resize(options.size);
  frame->show();
}

WindowFixture::~WindowFixture() {
  frame.reset();
  doc.reset();
  DropConfig();
}

std::string WindowFixture::OpenCase(const std::string& relativePath, const std::string& name,
                                    const std::string& caseId, bool miru) {
  const std::string path = home.WriteCase(relativePath, name, caseId, false, miru);
  if (View()->OpenCase(path) != 1) qFatal("the case %s does not open", path.c_str());
  return path;
}

bool SaveShot(QWidget* widget, const QString& path) {
  widget->show();
  QTest::qWait(50);
  return widget->grab().save(path);
}

std::string ShippedLanguageFile(const std::string& name) {
  return std::string(VESK_SOURCE_DIR) + "/data/Language/" + name + ".lng";
}

void OnNextModal(std::function<void(QDialog*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) qFatal("no modal dialog is open");
    act(dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

void LoadConfigAndLanguage() {
  DropConfig();
  g_Config = new CConfigFile(g_Language, Forwarder(), 2);
  g_Config->Load();
  g_Config->LoadReportSettings();
  g_Language.ScanLanguageFolder(ProgramPath("\\Language"));
  g_Language.SetLanguage("English");
  g_Language.Load();
}

void DropConfig() {
  delete g_Config;
  g_Config = nullptr;
}

}  // namespace vesk::uitest
