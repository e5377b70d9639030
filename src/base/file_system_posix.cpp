// Whole-file reads and atomic writes over POSIX calls: write, fsync, rename,
// and an fsync of the folder so that the new name itself reaches the disk.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/file_io.h"

namespace vsmr {
namespace {

std::string SystemReason(int error) {
  return std::string(std::strerror(error)) + " (" + std::to_string(error) + ")";
}

// Closes on every path out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now; false (errno set) when the close reports an error.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

FileRead ReadFileChecked(const std::string& path, std::string& bytes) {
  bytes.clear();
  FileRead result;
  Descriptor file(::open(path.c_str(), O_RDONLY));
  if (file.get() < 0) {
    result.outcome = errno == ENOENT ? FileReadOutcome::kMissing : FileReadOutcome::kUnreadable;
    if (result.outcome == FileReadOutcome::kUnreadable) result.reason = SystemReason(errno);
    return result;
  }
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(file.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      bytes.clear();
      result.outcome = FileReadOutcome::kUnreadable;
      result.reason = SystemReason(errno);
      return result;
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  result.outcome = FileReadOutcome::kRead;
  return result;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
  const std::string temp = TemporaryFileFor(path);
  Descriptor file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  bool ok = file.get() >= 0 && WriteAll(file.get(), bytes) && ::fsync(file.get()) == 0;
  int error = errno;
  if (file.get() >= 0 && !file.Close() && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    if (reason) *reason = SystemReason(error);
    return false;
  }
  SyncFolderOf(path);
  return true;
}

}  // namespace vsmr
