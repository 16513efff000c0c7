#include "core/plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qvx {

namespace {

void tell(std::string* why, const std::string& text) {
  if (why) *why = text;
}

}  // namespace

std::FILE* openPlainFile(const std::string& path, const char* mode, std::string* why) {
  const std::string m(mode);
  int flags = O_CLOEXEC | O_NONBLOCK;
  if (m == "rb") {
    flags |= O_RDONLY;
  } else if (m == "ab") {
    flags |= O_WRONLY | O_CREAT | O_APPEND;
  } else if (m == "wb") {
    flags |= O_WRONLY | O_CREAT;
  } else {
    tell(why, "it cannot be opened that way");
    return nullptr;
  }

  // O_NONBLOCK makes opening a FIFO return at once instead of waiting for its other end;
  // whatever was opened is then refused unless it is a plain file. Truncation waits for
  // that check, so a FIFO or device is never written to.
  int fd = -1;
  do fd = ::open(path.c_str(), flags, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    tell(why, errno == ENXIO ? "it is not a plain file" : std::strerror(errno));
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    tell(why, "it is not a plain file");
    return nullptr;
  }
  if (m == "wb" && ::ftruncate(fd, 0) != 0) {
    tell(why, std::strerror(errno));
    ::close(fd);
    return nullptr;
  }
  // A plain file never blocks; clearing the flag keeps stdio's view of it ordinary.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, mode);
  if (!f) {
    tell(why, std::strerror(errno));
    ::close(fd);
  }
  return f;
}

std::optional<std::string> readPlainFile(const std::string& path, std::size_t limit,
                                         std::string* why) {
  std::FILE* f = openPlainFile(path, "rb", why);
  if (!f) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < limit) {
    const std::size_t want = std::min(sizeof chunk, limit - bytes.size());
    const std::size_t got = std::fread(chunk, 1, want, f);
    bytes.append(chunk, got);
    if (got < want) break;
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    tell(why, "it cannot be read to its end");
    return std::nullopt;
  }
  return bytes;
}

}  // namespace qvx
