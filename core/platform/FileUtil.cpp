#include "platform/FileUtil.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace vesk::fsutil {

namespace {

void SetError(std::string* error, const std::string& step, int err) {
  if (error) *error = step + ": " + std::strerror(err);
}

std::string ParentFolder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

// Without the folder fsync a crash right after rename may bring back the old name entry.
void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// A forked child inherits the generator's state, so without the reseed and the process id
// parent and child (or two children) walk the same names and a temporary left by a killed
// writer keeps colliding with the next one.
std::string TempName(const std::string& path) {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  static thread_local pid_t seededIn = ::getpid();
  const pid_t pid = ::getpid();
  if (pid != seededIn) {
    rng.seed(std::random_device{}());
    seededIn = pid;
  }
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, ".%ld.%08x.tmp", static_cast<long>(pid),
                static_cast<unsigned>(rng()));
  return path + suffix;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error) {
  if (path.empty()) {
    if (error) *error = "empty path";
    return false;
  }
  // A file reached through a symbolic link is replaced where it lives; renaming over the
  // link would turn it into a separate copy.
  struct stat lst {};
  if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      std::string target(real);
      std::free(real);
      return WriteFileAtomic(target, bytes, error);
    }
  }
  // Keep the permissions of the file being replaced; new files get the usual 0666 & ~umask.
  mode_t mode = 0666;
  struct stat st {};
  bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed) mode = st.st_mode & 07777;

  RemoveStaleTemporaries(ParentFolder(path));
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = TempName(path);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existed ? 0600 : mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    SetError(error, "create temporary file", errno);
    return false;
  }
  auto fail = [&](const char* step) {
    int err = errno;
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    SetError(error, step, err);
    return false;
  };
  if (!WriteAll(fd, bytes)) return fail("write");
  if (existed && ::fchmod(fd, mode) != 0) return fail("chmod");
  if (::fsync(fd) != 0) return fail("fsync");
  if (::close(fd) != 0) {
    fd = -1;
    return fail("close");
  }
  fd = -1;
  if (::rename(tmp.c_str(), path.c_str()) != 0) return fail("rename");
  SyncFolder(ParentFolder(path));
  return true;
}

bool ReadFile(const std::string& path, std::string& out, std::string* error, size_t maxBytes) {
  out.clear();
  // Non-blocking open so that a FIFO in the file's place cannot hang the reader.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    SetError(error, "open", errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    if (error) *error = "not a regular file";
    return false;
  }
  if (st.st_size > 0 && static_cast<uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    if (error) *error = "too large";
    return false;
  }
  if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      out.clear();
      SetError(error, "read", err);
      return false;
    }
    if (n == 0) break;
    if (out.size() + static_cast<size_t>(n) > maxBytes) {
      ::close(fd);
      out.clear();
      if (error) *error = "too large";
      return false;
    }
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

bool CreateFolders(const std::string& path) {
  if (path.empty()) return false;
  if (FolderExists(path)) return true;
  std::string partial;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string::npos) next = path.size();
    partial = path.substr(0, next);
    if (!partial.empty() && ::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) {
      // A parent we may not create may still exist (e.g. "/" parts without permission).
      if (!FolderExists(partial)) return false;
    }
    pos = next + 1;
  }
  return FolderExists(path);
}

namespace {

bool RemoveTreeAt(int parentFd, const char* name) {
  int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    // Not a folder (or a link to one): remove the entry itself.
    if (::unlinkat(parentFd, name, 0) == 0 || errno == ENOENT) return true;
    return false;
  }
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return false;
  }
  bool ok = true;
  while (struct dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    bool isDir = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN) {
      struct stat st {};
      isDir = ::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    if (isDir) {
      ok = RemoveTreeAt(fd, e->d_name) && ok;
    } else if (::unlinkat(fd, e->d_name, 0) != 0 && errno != ENOENT) {
      ok = false;
    }
  }
  ::closedir(dir);
  if (::unlinkat(parentFd, name, AT_REMOVEDIR) != 0 && errno != ENOENT) ok = false;
  return ok;
}

}  // namespace

bool RemoveFolderTree(const std::string& path) {
  if (path.empty()) return true;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  // A link standing where the folder should be is removed, never followed.
  if (S_ISLNK(st.st_mode)) return ::unlink(path.c_str()) == 0 || errno == ENOENT;
  if (!S_ISDIR(st.st_mode)) return false;
  return RemoveTreeAt(AT_FDCWD, path.c_str());
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace vesk::fsutil
