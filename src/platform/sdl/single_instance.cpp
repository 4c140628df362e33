#include "platform/sdl/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace platform {

namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr size_t kMaxClients = 8;
constexpr size_t kMaxRequestBytes = 64;
// A first copy may hold the lock a moment before it listens (starting) or
// after it stopped (ending); a second copy keeps trying this long.
constexpr auto kSettleTime = std::chrono::milliseconds(1000);
constexpr auto kRetryInterval = std::chrono::milliseconds(20);
constexpr auto kClientPatience = std::chrono::milliseconds(2000);

bool isPrivateDirectory(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

bool fillSocketAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

void closeIfOpen(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

std::string instanceDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    struct stat info {};
    if (stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) return runtime;
  }
  const std::string fallback = "/tmp/qbzview-" + std::to_string(getuid());
  if (mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) return std::string();
  // Someone else's directory, or one others can write to, is not ours to trust.
  return isPrivateDirectory(fallback) ? fallback : std::string();
}

std::string instanceName(const std::u16string& className, const std::u16string& title) {
  std::string name = "qbzview";
  for (const std::u16string* part : {&className, &title}) {
    name += '-';
    for (const char16_t c : *part) {
      const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                         c == u'-' || c == u'_' || c == u'.';
      name += plain ? static_cast<char>(c) : '_';
    }
  }
  return name;
}

SingleInstance::SingleInstance(std::string directory) : directory_(std::move(directory)) {}

SingleInstance::~SingleInstance() {
  for (Client& client : clients_) closeIfOpen(client.fd);
  closeIfOpen(peerFd_);
  if (listenFd_ >= 0) {
    closeIfOpen(listenFd_);
    unlink(socketPath_.c_str());  // still ours: the lock is held until below
  }
  closeIfOpen(lockFd_);
}

SingleInstance::Role SingleInstance::claim(const std::string& name) {
  if (claimed_) return role_;
  claimed_ = true;
  if (directory_.empty()) return role_ = Role::Alone;
  lockPath_ = directory_ + "/" + name + ".lock";
  socketPath_ = directory_ + "/" + name + ".sock";
  sockaddr_un unused{};
  if (!fillSocketAddress(socketPath_, unused)) return role_ = Role::Alone;
  lockFd_ = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd_ < 0) return role_ = Role::Alone;

  const auto giveUp = std::chrono::steady_clock::now() + kSettleTime;
  for (;;) {
    if (tryLock()) return role_ = listenOnSocket() ? Role::First : Role::Alone;
    if (connectToSocket()) return role_ = Role::Second;
    if (std::chrono::steady_clock::now() >= giveUp) break;
    std::this_thread::sleep_for(kRetryInterval);
  }
  // The lock stays taken, so a first copy runs, though it cannot be reached.
  return role_ = Role::Second;
}

bool SingleInstance::tryLock() { return flock(lockFd_, LOCK_EX | LOCK_NB) == 0; }

bool SingleInstance::listenOnSocket() {
  sockaddr_un address{};
  fillSocketAddress(socketPath_, address);
  unlink(socketPath_.c_str());  // left behind by a copy that did not end cleanly
  listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) return false;
  if (bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(listenFd_, static_cast<int>(kMaxClients)) != 0) {
    closeIfOpen(listenFd_);
    return false;
  }
  return true;
}

bool SingleInstance::connectToSocket() {
  sockaddr_un address{};
  fillSocketAddress(socketPath_, address);
  peerFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (peerFd_ < 0) return false;
  if (connect(peerFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    closeIfOpen(peerFd_);
    return false;
  }
  return true;
}

bool SingleInstance::requestRaise() {
  if (role_ != Role::Second || peerFd_ < 0) return false;
  const size_t length = sizeof kRaiseRequest - 1;
  const ssize_t written = send(peerFd_, kRaiseRequest, length, MSG_NOSIGNAL);
  closeIfOpen(peerFd_);
  return written == static_cast<ssize_t>(length);
}

void SingleInstance::acceptClients() {
  for (;;) {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (clients_.size() >= kMaxClients) {
      close(fd);
      continue;
    }
    clients_.push_back(Client{fd, std::string(), std::chrono::steady_clock::now() + kClientPatience});
  }
}

int32_t SingleInstance::takeRaiseRequests() {
  if (role_ != Role::First || listenFd_ < 0) return 0;
  acceptClients();
  int32_t requests = 0;
  for (size_t i = 0; i < clients_.size();) {
    Client& client = clients_[i];
    char buffer[kMaxRequestBytes];
    const ssize_t got = recv(client.fd, buffer, sizeof buffer, 0);
    bool done = got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
    if (got > 0) {
      client.received.append(buffer, static_cast<size_t>(got));
      if (client.received.find(kRaiseRequest) != std::string::npos) {
        ++requests;
        done = true;
      } else if (client.received.size() > kMaxRequestBytes) {
        done = true;  // not one of us
      }
    }
    if (std::chrono::steady_clock::now() >= client.dropAt) done = true;
    if (done) {
      closeIfOpen(client.fd);
      clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  return requests;
}

}  // namespace platform
