#pragma once
// Shared by the settings tests: a demo home with a configuration object on it.

#include <memory>
#include <string>

#include "language/Language.h"
#include "platform/MessageSink.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"
#include "settings/IniFile.h"
#include "support/HomeFixture.h"

namespace vesk::test {

class ConfigTest : public HomeFixture {
 protected:
  void SetUp() override {
    HomeFixture::SetUp();
    config = std::make_unique<CConfigFile>(language, sink);
  }
  std::string ConfigPath() const { return HomePath("MreConfig.ini"); }
  void WriteConfig(const std::string& text) { WriteBytes(ConfigPath(), text); }
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& def = "<missing>") {
    CIniFile ini(ConfigPath(), false);
    return ini.ReadString(section, key, def);
  }
  std::string ReadReport(const std::string& user, const std::string& section,
                         const std::string& key) {
    CIniFile ini(HomePath("Report_" + user + ".ini"), false);
    return ini.ReadString(section, key, "<missing>");
  }
  // A fresh object loaded from the file, as at the next start.
  CConfigFile& Reloaded() {
    reloaded_ = std::make_unique<CConfigFile>(language, sink);
    reloaded_->Load();
    return *reloaded_;
  }

  CLanguage language;
  RecordingMessageSink sink;
  std::unique_ptr<CConfigFile> config;  // made once the program folder is set

 private:
  std::unique_ptr<CConfigFile> reloaded_;
};

}  // namespace vesk::test
