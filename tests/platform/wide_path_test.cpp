// Host files whose paths hold characters outside ASCII. The platform layer
// keeps paths in UTF-8; Windows opens such files only by their wide names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "panorama/container_writer.h"
#include "platform/atomic_file.h"
#include "platform/host/headless_host.h"
#include "platform/host_file.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "support/grid_panorama.h"

namespace {

namespace fs = std::filesystem;

TEST(WidePaths, PanoramaScriptAndScreensInAFolderNamedOutsideAscii) {
  const fs::path directory = fs::temp_directory_path() / (u8"qbz_wide_Grüße_火星_" + std::u8string(
      reinterpret_cast<const char8_t*>(std::to_string(::getpid()).c_str())));
  fs::remove_all(directory);
  fs::create_directories(directory);
  const std::string folder = platform::utf8FilePath(directory);

  const std::vector<uint8_t> container = encodeContainer(golden::gridPanorama(64, 16), true);
  ASSERT_TRUE(platform::writeFileAtomically(folder + "/Mars ü.qbz", container));
  const std::string script = "1 keydown 0x27\n9 keyup 0x27\n";
  ASSERT_TRUE(platform::writeFileAtomically(folder + "/turn ü.events",
                                            {reinterpret_cast<const uint8_t*>(script.data()), script.size()}));

  platform::HeadlessRun run;
  run.options.frameLimit = 10;
  run.options.standaloneFile = folder + "/Mars ü.qbz";
  run.options.moduleFile = folder + "/no viewer ü";
  std::string error;
  platform::EventScriptSource events;
  ASSERT_TRUE(platform::loadEventScript(folder + "/turn ü.events", events, error)) << error;
  run.options.events = std::move(events.events);
  run.dumpDisplayPath = folder + "/screen ü.raw";
  run.screenshotPath = folder + "/screen ü.png";
  const platform::HeadlessResult result = platform::runHeadless(run);
  EXPECT_EQ(result.exitCode, 0) << result.error;
  EXPECT_EQ(fs::file_size(directory / u8"screen ü.raw"), 153600u);
  EXPECT_GT(fs::file_size(directory / u8"screen ü.png"), 100u);

  // The viewer's own wide-character open reaches the same file.
  const std::u16string wide = platform::toUtf16(folder) + u"/Mars ü.qbz";
  platform::File* file = platform::fileOpenWide(wide.c_str(), u"rb");
  ASSERT_NE(file, nullptr);
  char magic[4] = {};
  EXPECT_EQ(platform::fileRead(magic, 1, 4, file), 4u);
  EXPECT_EQ(std::string(magic, 4), "QBZP");
  platform::fileClose(file);
  fs::remove_all(directory);
}

}  // namespace
