// The per-user meeting point of running copies, with two claims in one
// process standing for two copies (the lock is per open file, so they meet
// as two processes would).
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/sdl/single_instance.h"

namespace {

using platform::SingleInstance;
using Role = platform::SingleInstance::Role;

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qbzview-instance-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  // Polls the first copy for a little while: the request travels through the kernel.
  static int32_t waitForRequests(SingleInstance& first) {
    int32_t total = 0;
    for (int i = 0; i < 100 && total == 0; ++i) {
      total += first.takeRaiseRequests();
      if (total == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return total;
  }

  std::string directory_;
};

TEST_F(SingleInstanceTest, SecondCopyFindsTheFirstAndAsksItForward) {
  SingleInstance first(directory_);
  EXPECT_EQ(first.claim("qbzview-a-b"), Role::First);
  EXPECT_EQ(first.claim("qbzview-a-b"), Role::First) << "claimed once";
  EXPECT_EQ(first.takeRaiseRequests(), 0);

  SingleInstance second(directory_);
  EXPECT_EQ(second.claim("qbzview-a-b"), Role::Second);
  EXPECT_TRUE(second.requestRaise());
  EXPECT_FALSE(second.requestRaise()) << "one request per connection";
  EXPECT_FALSE(first.requestRaise()) << "the first copy has no one to ask";
  EXPECT_EQ(waitForRequests(first), 1);
  EXPECT_EQ(first.takeRaiseRequests(), 0);

  // Another class or title is another program.
  SingleInstance stranger(directory_);
  EXPECT_EQ(stranger.claim("qbzview-a-c"), Role::First);
}

TEST_F(SingleInstanceTest, EndedFirstCopyLeavesTheNameFree) {
  {
    SingleInstance first(directory_);
    ASSERT_EQ(first.claim("qbzview-x-x"), Role::First);
  }
  EXPECT_FALSE(std::filesystem::exists(directory_ + "/qbzview-x-x.sock"));
  SingleInstance next(directory_);
  EXPECT_EQ(next.claim("qbzview-x-x"), Role::First);

  // A socket file left by a copy that crashed (no lock held) is replaced.
  SingleInstance crashedName(directory_);
  std::ofstream(directory_ + "/qbzview-y-y.sock") << "stale";
  EXPECT_EQ(crashedName.claim("qbzview-y-y"), Role::First);
  SingleInstance second(directory_);
  EXPECT_EQ(second.claim("qbzview-y-y"), Role::Second);
  EXPECT_TRUE(second.requestRaise());
  EXPECT_EQ(waitForRequests(crashedName), 1);
}

TEST_F(SingleInstanceTest, StrangersOnTheSocketAreDroppedAndNoDirectoryMeansAlone) {
  SingleInstance first(directory_);
  ASSERT_EQ(first.claim("qbzview-s-s"), Role::First);
  // Several copies at once, each counted once.
  SingleInstance a(directory_);
  SingleInstance b(directory_);
  ASSERT_EQ(a.claim("qbzview-s-s"), Role::Second);
  ASSERT_EQ(b.claim("qbzview-s-s"), Role::Second);
  EXPECT_TRUE(a.requestRaise());
  EXPECT_TRUE(b.requestRaise());
  int32_t total = 0;
  for (int i = 0; i < 100 && total < 2; ++i) {
    total += first.takeRaiseRequests();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(total, 2);

  // Something else on the socket: too much talk without a request is dropped, not counted.
  const int stranger = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(stranger, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = directory_ + "/qbzview-s-s.sock";
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  ASSERT_EQ(connect(stranger, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  const std::string noise(200, 'z');
  ASSERT_EQ(send(stranger, noise.data(), noise.size(), MSG_NOSIGNAL), static_cast<ssize_t>(noise.size()));
  total = 0;
  char byte = 0;
  for (int i = 0; i < 100; ++i) {
    total += first.takeRaiseRequests();
    if (recv(stranger, &byte, 1, MSG_DONTWAIT) == 0) break;  // the first copy hung up
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(recv(stranger, &byte, 1, MSG_DONTWAIT), 0) << "the stranger was dropped";
  EXPECT_EQ(total, 0);
  close(stranger);

  SingleInstance alone(std::string{});
  EXPECT_EQ(alone.claim("qbzview-s-s"), Role::Alone);
  EXPECT_FALSE(alone.requestRaise());
  EXPECT_EQ(alone.takeRaiseRequests(), 0);
  // A name too long for a socket address cannot take part either.
  SingleInstance longName(directory_);
  EXPECT_EQ(longName.claim(std::string(200, 'n')), Role::Alone);
}

TEST(InstanceNaming, ClassAndTitleMakeOneSafeFileName) {
  EXPECT_EQ(platform::instanceName(u"qbzview", u"qbzview"), "qbzview-qbzview-qbzview");
  EXPECT_EQ(platform::instanceName(u"a/b", u"../c d\u00e9"), "qbzview-a_b-.._c_d_");
  EXPECT_NE(platform::instanceName(u"ab", u"c"), platform::instanceName(u"a", u"bc"));
}

TEST(InstanceDirectory, RuntimeDirectoryFirstThenAPrivateFallback) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedValue = saved != nullptr ? saved : "";
  setenv("XDG_RUNTIME_DIR", "/", 1);
  EXPECT_EQ(platform::instanceDirectory(), "/");
  setenv("XDG_RUNTIME_DIR", "relative/path", 1);
  const std::string fallback = "/tmp/qbzview-" + std::to_string(getuid());
  EXPECT_EQ(platform::instanceDirectory(), fallback);
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(platform::instanceDirectory(), fallback);
  struct stat info {};
  ASSERT_EQ(lstat(fallback.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 077, 0u);
  if (saved != nullptr) setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
}

}  // namespace
