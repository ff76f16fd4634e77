// "mq450 send": a file's bytes, unchanged, to a printer, as the Download page's File Download sends them: to
// a network printer's raw port (tcp:HOST[:PORT], port 9100 unless given), to a device such as /dev/usb/lp0,
// or into a file (file:PATH, written whole or not at all). A refused or timed-out connection, a device that
// takes fewer bytes than given, or an unreadable file ends with a clear message and status 1.
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolSupport.h"

namespace mq::tool {
namespace {

constexpr const char* kSendUsage =
    "usage: mq450 send FILE --to DEST [--timeout SECONDS]\n"
    "Sends FILE's bytes unchanged to DEST and reports how many were sent. DEST is tcp:HOST[:PORT] (a "
    "network\n"
    "printer's raw port, 9100 by default), a device path such as /dev/usb/lp0, or file:PATH. A connection\n"
    "that is not made or stalls for SECONDS (default 10) is an error. Progress is shown on a terminal for "
    "files\n"
    "over 1 MB.\n"
    "example: mq450 send MQ450.JK --to tcp:192.168.1.87\n";

constexpr size_t kProgressThreshold = 1024 * 1024;
constexpr size_t kChunk = 64 * 1024;
constexpr int kDefaultPort = 9100;
// Firmware and font files are a few megabytes; a file beyond this is not one to send.
constexpr uint64_t kMaxSendBytes = uint64_t{256} << 20;

int Usage(const std::string& message) {
  std::cerr << kSendUsage;
  return Fail(kExitUsage, message);
}

class Progress {
 public:
  explicit Progress(size_t total)
      : total_(total), shown_(total > kProgressThreshold && isatty(STDERR_FILENO)) {}
  void Update(size_t done) {
    if (!shown_) return;
    const int percent = static_cast<int>(done * 100 / total_);
    if (percent == last_) return;
    last_ = percent;
    std::cerr << "\rsent " << done << " of " << total_ << " bytes (" << percent << "%)" << std::flush;
  }
  ~Progress() {
    if (shown_ && last_ >= 0) std::cerr << '\n';
  }

 private:
  size_t total_;
  bool shown_;
  int last_ = -1;
};

// Writes everything to fd; false with *error set when the descriptor stops taking bytes.
bool WriteAll(int fd, const std::vector<uint8_t>& bytes, bool socket, const std::string& dest,
              std::string* error) {
  Progress progress(bytes.size());
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t n = std::min(kChunk, bytes.size() - done);
    const ssize_t wrote =
        socket ? ::send(fd, bytes.data() + done, n, MSG_NOSIGNAL) : ::write(fd, bytes.data() + done, n);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      const bool timedOut = wrote < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
      *error = "only " + std::to_string(done) + " of " + std::to_string(bytes.size()) + " bytes reached " +
               dest + ": " +
               (wrote == 0 ? std::string("it took no more")
                : timedOut ? std::string("timed out")
                           : std::strerror(errno));
      return false;
    }
    done += static_cast<size_t>(wrote);
    progress.Update(done);
  }
  return true;
}

// Connects to host:port within timeoutSeconds; the descriptor, or -1 with *error set.
int Connect(const std::string& host, const std::string& port, int timeoutSeconds, std::string* error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (int e = getaddrinfo(host.c_str(), port.c_str(), &hints, &found); e != 0) {
    *error = "cannot find " + host + ": " + gai_strerror(e);
    return -1;
  }
  std::string last = "no address";
  int fd = -1;
  for (addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK, a->ai_protocol);
    if (fd < 0) {
      last = std::strerror(errno);
      continue;
    }
    int result = connect(fd, a->ai_addr, a->ai_addrlen);
    if (result != 0 && errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      const int ready = poll(&p, 1, timeoutSeconds * 1000);
      int soError = 0;
      socklen_t length = sizeof(soError);
      if (ready == 0) {
        errno = ETIMEDOUT;
      } else if (ready > 0 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) == 0) {
        errno = soError;
      }
      result = ready > 0 && soError == 0 ? 0 : -1;
    }
    if (result != 0) {
      last = errno == ETIMEDOUT ? "timed out after " + std::to_string(timeoutSeconds) + " s"
                                : std::strerror(errno);
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  if (fd < 0) {
    *error = "cannot connect to " + host + " port " + port + ": " + last;
    return -1;
  }
  // Blocking again, with the same patience for each write.
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  timeval limit{timeoutSeconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
  return fd;
}

}  // namespace

int RunSend(const Args& args) {
  if (!args.empty() && (args[0] == "-h" || args[0] == "--help")) {
    std::cout << kSendUsage;
    return kExitOk;
  }
  std::string file;
  std::optional<std::string> dest, timeoutText;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--to" || arg == "--timeout") {
      if (i + 1 >= args.size()) return Usage("option " + arg + " needs a value");
      (arg == "--to" ? dest : timeoutText) = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option for send: " + arg);
    } else if (file.empty()) {
      file = arg;
    } else {
      return Usage("unexpected argument: " + arg);
    }
  }
  if (file.empty()) return Usage("send needs a file");
  if (!dest) return Usage("send needs --to DEST");
  int timeout = 10;
  if (timeoutText) {
    auto [ptr, ec] = std::from_chars(timeoutText->data(), timeoutText->data() + timeoutText->size(), timeout);
    if (ec != std::errc() || ptr != timeoutText->data() + timeoutText->size() || timeout < 1 ||
        timeout > 3600)
      return Usage("timeout must be a whole number of seconds from 1 to 3600");
  }

  std::string error;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(file, kMaxSendBytes, &bytes, &error)) return Fail(kExitFailed, error);

  if (dest->rfind("tcp:", 0) == 0) {
    std::string host = dest->substr(4);
    std::string port = std::to_string(kDefaultPort);
    // [v6 address]:port, or host:port with a single colon.
    if (!host.empty() && host[0] == '[') {
      const size_t end = host.find(']');
      if (end == std::string::npos) return Usage("bad address in " + *dest);
      if (end + 1 < host.size()) {
        if (host[end + 1] != ':') return Usage("bad address in " + *dest);
        port = host.substr(end + 2);
      }
      host = host.substr(1, end - 1);
    } else if (const size_t colon = host.rfind(':'); colon != std::string::npos && host.find(':') == colon) {
      port = host.substr(colon + 1);
      host = host.substr(0, colon);
    }
    int portNumber = 0;
    auto [ptr, ec] = std::from_chars(port.data(), port.data() + port.size(), portNumber);
    if (host.empty() || ec != std::errc() || ptr != port.data() + port.size() || portNumber < 1 ||
        portNumber > 65535)
      return Usage("a network destination is tcp:HOST[:PORT] with a port from 1 to 65535");
    const int fd = Connect(host, port, timeout, &error);
    if (fd < 0) return Fail(kExitFailed, error);
    const bool ok = WriteAll(fd, bytes, true, *dest, &error);
    // The printer has the job once the connection is closed cleanly.
    if (ok && shutdown(fd, SHUT_WR) != 0)
      error = "cannot finish the connection to " + *dest + ": " + std::strerror(errno);
    const bool closed = close(fd) == 0;
    if (!ok || !error.empty() || !closed)
      return Fail(kExitFailed, error.empty() ? "cannot finish the connection to " + *dest : error);
  } else if (dest->rfind("file:", 0) == 0) {
    const std::string path = dest->substr(5);
    if (path.empty()) return Usage("file: needs a path");
    if (!WriteOutputFile(path, bytes, &error)) return Fail(kExitFailed, error);
  } else if (!dest->empty() && (*dest)[0] == '/') {
    // A device is opened as it is: never created, never truncated.
    const int fd = open(dest->c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Fail(kExitFailed, "cannot open " + *dest + ": " + std::strerror(errno));
    const bool ok = WriteAll(fd, bytes, false, *dest, &error);
    if (close(fd) != 0 && ok)
      return Fail(kExitFailed, "cannot finish writing to " + *dest + ": " + std::strerror(errno));
    if (!ok) return Fail(kExitFailed, error);
  } else {
    return Usage("DEST is tcp:HOST[:PORT], a device path starting with /, or file:PATH, not " + *dest);
  }
  std::cout << "sent " << bytes.size() << " bytes to " << *dest << '\n';
  return kExitOk;
}

}  // namespace mq::tool
