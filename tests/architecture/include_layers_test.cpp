// Every quoted #include under src/ and tools/ must look down the layer order
// of docs/architecture.md, never up and never sideways into a sibling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The stages in layer order: each may include the ones before it.
const std::vector<std::string> kStages = {"core", "platform", "display", "raster", "render", "panorama", "shell"};

int rank(const std::string& layer) {
  const auto found = std::find(kStages.begin(), kStages.end(), layer);
  return found == kStages.end() ? -1 : static_cast<int>(found - kStages.begin());
}

// The layer of a path below src/ or tools/: its folder, the backend's folder
// inside platform/, and "host" for the entries that run the viewer.
std::string layerOf(const std::string& path) {
  const fs::path file(path);
  const std::string stem = file.stem().string();
  if (path.starts_with("platform/host/") || stem.ends_with("_host")) return "host";
  const auto slash = path.find('/');
  const auto second = path.find('/', slash + 1);
  if (path.starts_with("platform/") && second != std::string::npos) return path.substr(0, second);
  return path.substr(0, slash);
}

bool allowed(const std::string& from, const std::string& to) {
  if (from == to || from == "host") return true;
  // Backends: the platform interface and the desktop input helpers, no stage, no other backend.
  if (from.starts_with("platform/")) {
    return to == "core" || to == "platform" || (to == "platform/desktop" && from != "platform/headless");
  }
  // Tools build on the data layers: no backend, no shell, no host.
  if (from == "qbzpack" || from == "font") return rank(to) >= 0 && rank(to) <= rank("panorama");
  return rank(to) >= 0 && rank(to) < rank(from);
}

}  // namespace

TEST(IncludeLayers, RuleRejectsUpwardAndSidewaysIncludes) {
  EXPECT_TRUE(allowed("render", "raster") && allowed("platform/sdl", "platform/desktop") && allowed("host", "qbzpack"));
  EXPECT_FALSE(allowed("raster", "render") || allowed("core", "display") || allowed("display", "platform/sdl"));
  EXPECT_FALSE(allowed("platform/win32", "platform/sdl") || allowed("qbzpack", "shell") || allowed("platform/web", "host"));
}

TEST(IncludeLayers, EveryIncludeLooksDown) {
  const char* sourceDir = std::getenv("QBZ_SOURCE_DIR");
  ASSERT_NE(sourceDir, nullptr);
  std::vector<std::string> wrongWay;
  int files = 0;
  for (const char* root : {"src", "tools"}) {
    const fs::path base = fs::path(sourceDir) / root;
    for (const auto& entry : fs::recursive_directory_iterator(base)) {
      const auto extension = entry.path().extension();
      if (extension != ".cpp" && extension != ".h") continue;
      ++files;
      const std::string relative = fs::relative(entry.path(), base).generic_string();
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        const auto hash = line.find_first_not_of(" \t");
        if (hash == std::string::npos || line.compare(hash, 10, "#include \"") != 0) continue;
        const std::string target = line.substr(hash + 10, line.find('"', hash + 10) - hash - 10);
        if (target.find('/') == std::string::npos) continue;  // beside the file itself
        if (!allowed(layerOf(relative), layerOf(target))) {
          wrongWay.push_back(std::string(root) + "/" + relative + ":" + std::to_string(number) + " includes " + target);
        }
      }
    }
  }
  EXPECT_GT(files, 100);
  EXPECT_TRUE(wrongWay.empty()) << ::testing::PrintToString(wrongWay);
}
