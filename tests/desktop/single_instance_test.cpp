// The per-user meeting point of running copies, with two claims in one
// process standing for two copies (the lock is per open file, so they meet
// as two processes would).
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/sdl/single_instance.h"
#include "support/scratch_directory.h"

using platform::SingleInstance;
using Role = platform::SingleInstance::Role;
using namespace std::chrono_literals;

TEST(SingleInstance, LaterCopiesFindTheFirstAndAskItForwardOnce) {
  const ScratchDirectory scratch;
  const std::string dir = scratch.root.string();
  {
    SingleInstance first(dir), second(dir);
    EXPECT_EQ(first.claim("qbzview-a-b"), Role::First);
    EXPECT_FALSE(first.requestRaise()) << "the first copy has no one to ask";
    EXPECT_EQ(second.claim("qbzview-a-b"), Role::Second);
    EXPECT_TRUE(second.requestRaise());
    EXPECT_FALSE(second.requestRaise()) << "one request per connection";

    // Something else on the socket talking without a request is hung up on, not counted.
    const int other = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{AF_UNIX, {}};
    std::strcpy(address.sun_path, (dir + "/qbzview-a-b.sock").c_str());
    ASSERT_EQ(connect(other, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(send(other, std::string(200, 'z').data(), 200, MSG_NOSIGNAL), 200);
    int32_t requests = 0;  // taken over about half a second: they travel through the kernel
    for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(5ms)) requests += first.takeRaiseRequests();
    EXPECT_EQ(requests, 1) << "the second copy's request only";
    char byte = 0;
    const ssize_t got = recv(other, &byte, 1, MSG_DONTWAIT);  // unread bytes make the hang-up a reset
    EXPECT_TRUE(got == 0 || (got < 0 && errno == ECONNRESET)) << "the first copy hung up";
    close(other);
  }
  // An ended first copy leaves the name free; a socket left by a crashed one (no lock held) is replaced.
  EXPECT_FALSE(std::filesystem::exists(dir + "/qbzview-a-b.sock"));
  std::ofstream(dir + "/qbzview-y-y.sock") << "stale";
  SingleInstance next(dir), second(dir), longName(dir);
  EXPECT_EQ(next.claim("qbzview-y-y"), Role::First);
  EXPECT_EQ(second.claim("qbzview-y-y"), Role::Second) << "it found the new socket";
  EXPECT_EQ(longName.claim(std::string(200, 'n')), Role::Alone) << "too long for a socket address: runs alone";
}

TEST(SingleInstance, NamesAreSafeAndTheDirectoryPrivate) {
  EXPECT_EQ(platform::instanceName(u"a/b", u"../c d\u00e9"), "qbzview-a_b-.._c_d_");
  EXPECT_NE(platform::instanceName(u"ab", u"c"), platform::instanceName(u"a", u"bc"));
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedValue = saved != nullptr ? saved : "";  // put back below
  setenv("XDG_RUNTIME_DIR", "relative/path", 1);  // not absolute: the private fallback
  const std::string fallback = "/tmp/qbzview-" + std::to_string(getuid());
  EXPECT_EQ(platform::instanceDirectory(), fallback);
  struct stat info {};
  ASSERT_EQ(lstat(fallback.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode) && (info.st_mode & 077) == 0);
  saved != nullptr ? setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
}
