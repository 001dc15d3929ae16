#pragma once
// A fresh folder for one test, removed again when the test ends.

#include <string>

namespace vesk::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string operator/(const std::string& name) const;

 private:
  std::string path_;
};

// Writes bytes to a file, creating parent folders; fails the test on error.
void WriteBytes(const std::string& path, const std::string& bytes);
// Reads a whole file; empty when missing.
std::string ReadBytes(const std::string& path);

}  // namespace vesk::test
