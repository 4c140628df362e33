// Files written whole or not at all: after a failure every target holds its
// old bytes and nothing else is left beside it.
#include "platform/atomic_file.h"
#include "support/scratch_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "folder.png");  // a target no file can replace
    for (const char* name : {"a.png", "b.png", "folder.png/inside"}) std::ofstream(dir_ / name) << "old";
  }

  std::string contentOf(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void expectOnly(const std::set<std::string>& names, const std::string& aAndB) const {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir_)) found.insert(entry.path().filename().string());
    EXPECT_EQ(found, names);
    EXPECT_EQ(contentOf("a.png") + contentOf("b.png") + contentOf("folder.png/inside"), aAndB + "old");
  }

  ScratchDirectory scratch_;
  const fs::path& dir_ = scratch_.root;
};

TEST_F(AtomicFile, FailedWriteNamesPathAndReasonAndLeavesNothing) {
  const std::vector<uint8_t> bytes(2 * platform::kFileWritePiece + 5, 'n');  // three pieces
  for (const std::string name : {"folder.png", "missing/a.png", "a.png/"}) {
    const std::string path = (dir_ / name).string();
    const platform::FileWrite written = platform::writeFileAtomically(path, bytes);
    EXPECT_EQ(written.error.rfind("cannot write " + path + " (", 0), 0u) << written.error;
    EXPECT_GT(written.error.size(), path.size() + 16) << "a reason is given";
  }
  expectOnly({"a.png", "b.png", "folder.png"}, "oldold");

  size_t reported = 0;
  EXPECT_TRUE(platform::writeFileAtomically((dir_ / "a.png").string(), bytes, platform::FileMode::Plain,
                                            [&reported](size_t written) { reported = written; }));
  EXPECT_TRUE(contentOf("a.png") == std::string(bytes.begin(), bytes.end()) && reported == bytes.size());
}

// A move that fails halfway puts back the files already replaced; a maker
// that throws leaves the directory as it was too.
TEST_F(AtomicFile, FilesTogetherAppearAllOrNone) {
  auto together = [this](std::vector<std::string> names) {
    return platform::writeFilesTogether(dir_.string(), static_cast<uint32_t>(names.size()), [names](uint32_t i) {
      if (names[i].empty()) throw std::runtime_error("cannot make it");
      return platform::NamedFile{names[i], {'n', 'e', 'w'}};
    });
  };
  const platform::FileWrite failed = together({"a.png", "b.png", "folder.png", "c.png"});
  EXPECT_EQ(failed.error.rfind("cannot write " + (dir_ / "folder.png").string(), 0), 0u) << failed.error;
  expectOnly({"a.png", "b.png", "folder.png"}, "oldold");
#ifndef __EMSCRIPTEN__  // the web build does not catch exceptions
  EXPECT_THROW(together({"a.png", "c.png", ""}), std::runtime_error);
  expectOnly({"a.png", "b.png", "folder.png"}, "oldold");
#endif

  EXPECT_TRUE(together({"a.png", "b.png", "c.png"}));
  expectOnly({"a.png", "b.png", "c.png", "folder.png"}, "newnew");
  EXPECT_EQ(contentOf("c.png"), "new");
}

}  // namespace
