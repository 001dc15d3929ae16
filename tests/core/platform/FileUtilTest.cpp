#include "platform/FileUtil.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TempDir.h"

namespace vesk::fsutil {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(FileUtil, AtomicWriteCreatesReplacesAndKeepsMode) {
  TempDir dir;
  std::string path = dir / "f.bin";
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, std::string("a\0b", 3), &error)) << error;
  EXPECT_EQ(ReadBytes(path), std::string("a\0b", 3));
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomic(path, ""));
  EXPECT_EQ(ReadBytes(path), "");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  // Through a link the target is replaced and the link stays a link.
  fs::create_symlink(path, dir / "link");
  ASSERT_TRUE(WriteFileAtomic(dir / "link", "via link"));
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_EQ(ReadBytes(path), "via link");
}

TEST(FileUtil, AtomicWriteFailuresReportAndLeaveNothing) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteFileAtomic("", "x", &error));
  EXPECT_FALSE(WriteFileAtomic(dir / "missing/f", "x", &error));
  EXPECT_FALSE(error.empty());
  // The target is a folder: rename fails and the temporary file must not stay behind.
  fs::create_directories(dir / "target");
  EXPECT_FALSE(WriteFileAtomic(dir / "target", "x"));
  EXPECT_TRUE(fs::is_directory(dir / "target"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(FileUtil, ReadFileLimitsAndErrors) {
  TempDir dir;
  std::string out = "stale";
  std::string error;
  EXPECT_FALSE(ReadFile(dir / "none", out, &error));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(ReadFile(dir.path(), out));  // a folder is not a file
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(ReadFile(dir / "fifo", out));  // returns instead of waiting for a writer
  WriteBytes(dir / "ten", "0123456789");
  EXPECT_FALSE(ReadFile(dir / "ten", out, &error, 9));
  EXPECT_EQ(error, "too large");
  ASSERT_TRUE(ReadFile(dir / "ten", out, nullptr, 10));
  EXPECT_EQ(out, "0123456789");
}

TEST(FileUtil, CreateFoldersWithParents) {
  TempDir dir;
  EXPECT_TRUE(CreateFolders(dir / "a/b/c"));
  EXPECT_TRUE(FolderExists(dir / "a/b/c"));
  EXPECT_TRUE(CreateFolders(dir / "a/b/c/"));  // existing, trailing separator
  WriteBytes(dir / "file", "x");
  EXPECT_FALSE(CreateFolders(dir / "file/sub"));
  EXPECT_FALSE(CreateFolders(""));
  EXPECT_TRUE(FileExists(dir / "file"));
  EXPECT_FALSE(FileExists(dir / "a"));
  EXPECT_FALSE(FolderExists(dir / "file"));
}

TEST(FileUtil, RemoveFolderTreeNeverFollowsLinks) {
  TempDir dir;
  std::string tree = dir / "ZavStart";
  WriteBytes(tree + "/top.txt", "1");
  WriteBytes(tree + "/.hidden", "1");
  WriteBytes(tree + "/a/b/c/deep.txt", "1");
  fs::create_directories(tree + "/empty");
  WriteBytes(dir / "outside/keep.txt", "precious");
  fs::create_directory_symlink(dir / "outside", tree + "/a/link-to-outside");
  fs::create_symlink(dir / "outside/keep.txt", tree + "/file-link");
  fs::create_symlink(dir / "nowhere", tree + "/dangling");

  EXPECT_TRUE(RemoveFolderTree(tree));
  EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
  EXPECT_EQ(ReadBytes(dir / "outside/keep.txt"), "precious");

  EXPECT_TRUE(RemoveFolderTree(""));
  EXPECT_TRUE(RemoveFolderTree(dir / "missing"));
  // A link standing for the folder itself is removed, its target left alone.
  fs::create_directory_symlink(dir / "outside", dir / "alias");
  EXPECT_TRUE(RemoveFolderTree(dir / "alias"));
  EXPECT_EQ(ReadBytes(dir / "outside/keep.txt"), "precious");
  EXPECT_FALSE(RemoveFolderTree(dir / "outside/keep.txt"));  // a file is not a folder
}

}  // namespace
}  // namespace vesk::fsutil
