// "mq450 printer --listen": a raw TCP printer on the virtual MQ-450. Every connection is one job: its bytes
// are saved as DIR/job-NNNN.prn and printed to DIR/job-NNNN.png, with the stored logos kept in DIR/flash
// from job to job. A job is closed and reported when it passes 16 MB or sends nothing for the idle time (30 s
// by default); what came before is still saved and printed. It listens on loopback unless told otherwise.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "JobRendering.h"
#include "ToolSupport.h"

namespace mq::tool {
namespace {

constexpr const char* kPrinterUsage =
    "usage: mq450 printer --listen [ADDRESS:]PORT --out DIR [--jobs N] [--idle SECONDS] [--font FILE]\n"
    "A raw network printer (like port 9100 of an MQ-450) that saves each connection's bytes as\n"
    "DIR/job-NNNN.prn and the paper they print as DIR/job-NNNN.png, keeping stored logos in DIR/flash.\n"
    "ADDRESS is 127.0.0.1 unless given (an IPv4 address). A job over 16 MB, or silent for SECONDS (30),\n"
    "is closed and reported. --jobs N stops after N jobs; otherwise it runs until interrupted.\n"
    "example: mq450 printer --listen 127.0.0.1:9100 --out /tmp/printed\n";

constexpr size_t kMaxJob = size_t{16} << 20;

int Usage(const std::string& message) {
  std::cerr << kPrinterUsage;
  return Fail(kExitUsage, message);
}

// Receives one job; *why says how it ended when it did not end by the sender closing the connection.
std::vector<uint8_t> ReceiveJob(int fd, int idleSeconds, std::string* why) {
  std::vector<uint8_t> job;
  uint8_t buffer[64 * 1024];
  for (;;) {
    pollfd p = {fd, POLLIN, 0};
    const int ready = poll(&p, 1, idleSeconds * 1000);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) {
      *why = "closed after " + std::to_string(idleSeconds) + " s without data";
      return job;
    }
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *why = std::string("connection failed: ") + std::strerror(errno);
      return job;
    }
    if (n == 0) return job;
    const size_t room = kMaxJob - job.size();
    if (static_cast<size_t>(n) > room) {
      job.insert(job.end(), buffer, buffer + room);
      *why = "closed at 16 MB; the rest was not taken";
      return job;
    }
    job.insert(job.end(), buffer, buffer + n);
  }
}

}  // namespace

int RunPrinter(const Args& args) {
  std::optional<std::string> listen, out;
  std::string fontPath = kDefaultFont;
  int jobs = 0, idle = 30;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      std::cout << kPrinterUsage;
      return kExitOk;
    }
    if (i + 1 >= args.size()) return Usage(a + " needs a value");
    const std::string& value = args[++i];
    if (a == "--listen") {
      listen = value;
    } else if (a == "--out") {
      out = value;
    } else if (a == "--font") {
      fontPath = value;
    } else if (a == "--jobs" || a == "--idle") {
      const std::optional<int> n = ParseWholeNumber(value, 1, 1000000);
      if (!n) return Usage(a + " takes a whole number from 1, not " + value);
      (a == "--jobs" ? jobs : idle) = *n;
    } else {
      return Usage("unknown option: " + a);
    }
  }
  if (!listen) return Usage("printer needs --listen [ADDRESS:]PORT");
  if (!out) return Usage("printer needs --out DIR");
  std::string address = "127.0.0.1", portText = *listen;
  if (const size_t colon = listen->rfind(':'); colon != std::string::npos) {
    address = listen->substr(0, colon);
    portText = listen->substr(colon + 1);
  }
  const std::optional<int> port = ParseWholeNumber(portText, 1, 65535);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  if (!port || inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1) {
    return Usage("--listen takes [IPv4-ADDRESS:]PORT, not " + *listen);
  }
  where.sin_port = htons(static_cast<uint16_t>(*port));
  std::error_code ec;
  std::filesystem::create_directories(*out, ec);
  if (ec) return Fail(kExitFailed, "cannot make " + *out + ": " + ec.message());

  const int server = socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  setsockopt(server, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (server < 0 || bind(server, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
      ::listen(server, 4) != 0) {
    const std::string reason = std::strerror(errno);
    if (server >= 0) close(server);
    return Fail(kExitFailed, "cannot listen on " + address + ":" + std::to_string(*port) + ": " + reason);
  }
  std::cout << "listening on " << address << ":" << *port << std::endl;
  const std::string flash = (std::filesystem::path(*out) / "flash").string();
  int failed = 0;
  for (int done = 0; jobs == 0 || done < jobs;) {
    sockaddr_in peer{};
    socklen_t peerSize = sizeof peer;
    const int fd = accept(server, reinterpret_cast<sockaddr*>(&peer), &peerSize);
    if (fd < 0) {
      if (errno == EINTR) continue;
      close(server);
      return Fail(kExitFailed, std::string("cannot accept a connection: ") + std::strerror(errno));
    }
    ++done;
    std::string why;
    const std::vector<uint8_t> job = ReceiveJob(fd, idle, &why);
    close(fd);
    char name[32];
    std::snprintf(name, sizeof name, "job-%04d", done);
    const std::string base = (std::filesystem::path(*out) / name).string();
    char from[INET_ADDRSTRLEN] = "?";
    inet_ntop(AF_INET, &peer.sin_addr, from, sizeof from);
    std::cout << name << ": " << job.size() << " bytes from " << from << (why.empty() ? "" : ", " + why)
              << '\n';
    std::string error;
    if (!WriteOutputFile(base + ".prn", job, &error) ||
        !RenderJobs({base + ".prn"}, {job}, flash, fontPath, base + ".png", std::cout, &error)) {
      std::cerr << "mq450: " << name << ": " << error << '\n';
      ++failed;
    }
    std::cout << std::flush;
  }
  close(server);
  return failed ? kExitFailed : kExitOk;
}

}  // namespace mq::tool
