// The host's file operations, so that the configuration file logic runs in host tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "base/file_io.hpp"

namespace vessa {
namespace file_io_detail {
extern std::atomic<std::size_t> g_crash_after;
}  // namespace file_io_detail

namespace {

// How many names a save tries for its temporary file before it gives up.
constexpr int kTemporaryNameAttempts = 100;

Error errno_error(int code) { return Error(std::string(std::strerror(code)) + " (errno " + std::to_string(code) + ")"); }

}  // namespace

bool is_regular_file(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

Result<std::string> read_file_bytes(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno_error(errno);
  std::string bytes;
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof(buffer));
    if (got < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      ::close(fd);
      return errno_error(code);
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

Status create_folders(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return errno_error(error.value());
  return {};
}

Status write_file_atomically(const std::filesystem::path& path, std::string_view bytes) {
  // A process that died while saving leaves its temporary file behind, and a later process may
  // get the same id: a name that is taken is passed over for the next one.
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
    temporary = path;
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errno_error(errno);

  const std::size_t crash_after = file_io_detail::g_crash_after.load();
  std::size_t written = 0;
  while (written < bytes.size()) {
    std::size_t chunk = bytes.size() - written;
    if (crash_after != 0 && written + chunk > crash_after) chunk = crash_after - written;
    const ssize_t done = ::write(fd, bytes.data() + written, chunk);
    if (done <= 0) {
      if (done < 0 && errno == EINTR) continue;
      const int code = done < 0 ? errno : EIO;  // nothing written, yet no error: never retried forever
      ::close(fd);
      ::unlink(temporary.c_str());
      return errno_error(code);
    }
    written += static_cast<std::size_t>(done);
    if (crash_after != 0 && written >= crash_after) {
      ::close(fd);
      return Error("simulated crash");
    }
  }
  const int synced = ::fsync(fd) == 0 ? 0 : errno;
  const int closed = ::close(fd) == 0 ? 0 : errno;  // closed whatever fsync said
  if (synced != 0 || closed != 0) {
    ::unlink(temporary.c_str());
    return errno_error(synced != 0 ? synced : closed);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int code = errno;
    ::unlink(temporary.c_str());
    return errno_error(code);
  }
  return {};
}

Status move_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return errno_error(errno);
  return {};
}

}  // namespace vessa
