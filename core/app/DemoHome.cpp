#include "app/DemoHome.h"

#include <filesystem>

#include "platform/FileUtil.h"

namespace vesk {

namespace fs = std::filesystem;

namespace {

struct Preparer {
  fs::path home;
  DemoHomeResult& result;

  bool Fail(std::string what) {
    result.ok = false;
    if (result.error.empty()) result.error = std::move(what);
    return false;
  }

  bool Folder(const fs::path& rel) {
    const fs::path full = home / rel;
    std::error_code ec;
    const auto st = fs::symlink_status(full, ec);
    if (fs::exists(st)) {
      if (fs::is_directory(fs::status(full, ec))) return true;
      return Fail(full.string() + " exists and is not a folder");
    }
    if (!fsutil::CreateFolders(full.string())) return Fail("cannot create " + full.string());
    result.created.push_back(rel.empty() ? "." : rel.generic_string());
    return true;
  }

  // Copies one file unless something of that name is already there.
  bool File(const fs::path& source, const fs::path& rel) {
    const fs::path target = home / rel;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) return true;
    std::string bytes, why;
    if (!fsutil::ReadFile(source.string(), bytes, &why))
      return Fail("cannot read " + source.string() + ": " + why);
    if (!fsutil::WriteFileAtomic(target.string(), bytes, &why))
      return Fail("cannot write " + target.string() + ": " + why);
    result.created.push_back(rel.generic_string());
    return true;
  }

  // Every regular file below source (sub-folders included), into home/rel.
  bool Tree(const fs::path& source, const fs::path& rel, bool onlyLng) {
    if (!Folder(rel)) return false;
    std::error_code ec;
    fs::recursive_directory_iterator it(source, ec), end;
    if (ec) return Fail("cannot list " + source.string() + ": " + ec.message());
    bool ok = true;
    for (; it != end; it.increment(ec)) {
      if (ec) return Fail("cannot list " + source.string() + ": " + ec.message());
      const fs::path sub = fs::relative(it->path(), source, ec);
      if (ec) return Fail("cannot list " + source.string() + ": " + ec.message());
      if (it->is_directory(ec)) {
        if (onlyLng) {
          it.disable_recursion_pending();
          continue;
        }
        ok = Folder(rel / sub) && ok;
      } else if (it->is_regular_file(ec)) {
        if (onlyLng && it->path().extension() != ".lng") continue;
        ok = File(it->path(), rel / sub) && ok;
      }
    }
    return ok;
  }
};

}  // namespace

DemoHomeResult PrepareDemoHome(const std::string& home, const std::string& dataDir) {
  DemoHomeResult result;
  result.ok = true;
  Preparer p{fs::path(home), result};
  if (home.empty()) {
    p.Fail("no home folder given");
    return result;
  }
  const fs::path data(dataDir);
  std::error_code ec;
  if (dataDir.empty() || !fs::is_directory(data, ec)) {
    p.Fail("data folder " + dataDir + " not found");
    return result;
  }
  if (!p.Folder("")) return result;
  if (fs::is_directory(data / "Language", ec))
    p.Tree(data / "Language", "Language", true);
  else
    p.Folder("Language");
  if (fs::is_directory(data / "res", ec))
    p.Tree(data / "res", "res", false);
  else
    p.Folder("res");
  // The user's guide is optional: a data folder without one still makes a working home.
  if (fs::is_directory(data / "Help", ec)) p.Tree(data / "Help", "Help", false);
  p.Folder("data");
  return result;
}

}  // namespace vesk
