// The per-user meeting point of running copies, with two claims in one
// process standing for two copies (the lock is per open file, so they meet
// as two processes would).
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/sdl/single_instance.h"

using platform::SingleInstance;
using Role = platform::SingleInstance::Role;

namespace {

// Polls the first copy for a while until it has seen `wanted` requests: they travel through the kernel.
int32_t requestsSeen(SingleInstance& first, int32_t wanted) {
  int32_t total = 0;
  for (int i = 0; i < 100 && total < wanted; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
    total += first.takeRaiseRequests();
  }
  return total;
}

}  // namespace

TEST(SingleInstance, LaterCopiesFindTheFirstAndAskItForwardOnce) {
  char pattern[] = "/tmp/qbzview-instance-test-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  {
    SingleInstance first(dir), a(dir), b(dir), stranger(dir);
    EXPECT_EQ(first.claim("qbzview-a-b"), Role::First);
    EXPECT_EQ(first.claim("qbzview-a-b"), Role::First) << "claimed once";
    EXPECT_FALSE(first.requestRaise()) << "the first copy has no one to ask";
    EXPECT_EQ(a.claim("qbzview-a-b"), Role::Second);
    EXPECT_EQ(b.claim("qbzview-a-b"), Role::Second);
    EXPECT_TRUE(a.requestRaise());
    EXPECT_FALSE(a.requestRaise()) << "one request per connection";
    EXPECT_TRUE(b.requestRaise());
    EXPECT_EQ(requestsSeen(first, 2), 2);
    EXPECT_EQ(first.takeRaiseRequests(), 0);
    EXPECT_EQ(stranger.claim("qbzview-a-c"), Role::First) << "another class or title is another program";

    // Something else on the socket talking without a request is dropped, not counted.
    const int other = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, (dir + "/qbzview-a-b.sock").c_str());
    ASSERT_EQ(connect(other, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const std::string noise(200, 'z');
    ASSERT_EQ(send(other, noise.data(), noise.size(), MSG_NOSIGNAL), static_cast<ssize_t>(noise.size()));
    char byte = 0;
    int32_t counted = 0;
    for (int i = 0; i < 100 && recv(other, &byte, 1, MSG_DONTWAIT) != 0; ++i) {
      counted += first.takeRaiseRequests();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(recv(other, &byte, 1, MSG_DONTWAIT), 0) << "the first copy hung up";
    EXPECT_EQ(counted, 0);
    close(other);
  }
  // An ended first copy leaves the name free; a socket left by a crashed one (no lock held) is replaced.
  EXPECT_FALSE(std::filesystem::exists(dir + "/qbzview-a-b.sock"));
  std::ofstream(dir + "/qbzview-y-y.sock") << "stale";
  SingleInstance next(dir), second(dir);
  EXPECT_EQ(next.claim("qbzview-y-y"), Role::First);
  EXPECT_EQ(second.claim("qbzview-y-y"), Role::Second);
  EXPECT_TRUE(second.requestRaise());
  EXPECT_EQ(requestsSeen(next, 1), 1);
  // No directory, or a name too long for a socket address: the copy runs alone.
  SingleInstance alone(std::string{}), longName(dir);
  EXPECT_EQ(alone.claim("qbzview-s-s"), Role::Alone);
  EXPECT_FALSE(alone.requestRaise());
  EXPECT_EQ(longName.claim(std::string(200, 'n')), Role::Alone);
  std::filesystem::remove_all(dir);
}

TEST(SingleInstance, NamesAreSafeAndTheDirectoryPrivate) {
  EXPECT_EQ(platform::instanceName(u"a/b", u"../c d\u00e9"), "qbzview-a_b-.._c_d_");
  EXPECT_NE(platform::instanceName(u"ab", u"c"), platform::instanceName(u"a", u"bc"));
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedValue = saved != nullptr ? saved : "";
  setenv("XDG_RUNTIME_DIR", "/", 1);
  EXPECT_EQ(platform::instanceDirectory(), "/");
  setenv("XDG_RUNTIME_DIR", "relative/path", 1);  // not absolute: the private fallback
  const std::string fallback = "/tmp/qbzview-" + std::to_string(getuid());
  EXPECT_EQ(platform::instanceDirectory(), fallback);
  struct stat info {};
  ASSERT_EQ(lstat(fallback.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 077, 0u);
  if (saved != nullptr) setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
  else unsetenv("XDG_RUNTIME_DIR");
}
