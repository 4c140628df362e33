// One running copy per user: the first copy holds a lock named after the
// window's class and title and listens on a Unix socket beside it; a later
// copy finds the lock taken, connects, and asks the first to come forward.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Where the lock and the socket live: $XDG_RUNTIME_DIR, else /tmp/qbzview-UID
// (created private to the user). Empty when neither is usable.
std::string instanceDirectory();
// The file name stem for a window class and title ("qbzview-CLASS-TITLE",
// characters other than letters, digits, '-', '_' and '.' as '_').
std::string instanceName(const std::u16string& className, const std::u16string& title);

class SingleInstance {
 public:
  enum class Role {
    Alone,   // not taking part (no usable directory, or not claimed yet)
    First,   // holds the name; receives requests
    Second,  // another copy holds the name
  };

  explicit SingleInstance(std::string directory);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Takes the name, or finds the copy that holds it; once only, later calls
  // return the first answer.
  Role claim(const std::string& name);
  Role role() const { return role_; }

  // Second copy: asks the first to come to the front; false when it could
  // not be reached.
  bool requestRaise();
  // First copy: the raise requests that arrived since the last call. Never
  // blocks.
  int32_t takeRaiseRequests();

 private:
  bool tryLock();
  bool listenOnSocket();
  bool connectToSocket();
  void acceptClients();

  std::string directory_;
  std::string lockPath_;
  std::string socketPath_;
  Role role_ = Role::Alone;
  bool claimed_ = false;
  int lockFd_ = -1;
  int listenFd_ = -1;
  int peerFd_ = -1;  // second copy: the connection to the first

  struct Client {
    int fd;
    std::string received;
    std::chrono::steady_clock::time_point dropAt;  // a silent client is not kept forever
  };
  std::vector<Client> clients_;  // first copy: connections still to be read
};

}  // namespace platform
