// Writes the inputs of the ARM screen comparison: small containers (raw and
// compressed, opaque and blended), event scripts and the arguments of each
// run, and the tail that turns a viewer executable into a self-contained one.
//   make_screen_inputs DIR                  NAME.qbz, NAME.events, NAME.args (the
//                                           viewer's arguments besides --headless)
//   make_screen_inputs --tail BYTES FILE    tail for an executable of BYTES bytes
// Built for the host by scripts/test-arm.sh; the screens it leads to must be
// the same whichever processor the viewer runs on.

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "arm/test_containers.h"
#include "panorama/panorama_container.h"

namespace {

using test_containers::Bytes;

bool writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

bool writeText(const std::string& path, const std::string& text) {
  return writeFile(path, Bytes(text.begin(), text.end()));
}

// The store deflated in the zlib format, its first 18 bytes scrambled.
Bytes compressedContainer(uint32_t faceSize, uint32_t tileSize, int32_t drawMode,
                          const std::vector<uint16_t>& pixels) {
  Bytes store;
  for (uint16_t pixel : pixels) test_containers::put16(store, pixel);
  uLongf size = compressBound(store.size());
  Bytes stream(size);
  if (compress2(stream.data(), &size, store.data(), store.size(), 9) != Z_OK) std::exit(1);
  stream.resize(size);
  for (size_t i = 0; i < sizeof kScrambleKey; ++i) stream[i] ^= static_cast<uint8_t>(kScrambleKey[i]);
  Bytes bytes = test_containers::containerHeader(faceSize, tileSize, drawMode, static_cast<uint32_t>(stream.size()));
  bytes.insert(bytes.end(), stream.begin(), stream.end());
  return bytes;
}

// Turning, tilting, dragging, zooming and wire-frame and back: every stage of
// the frame path gets its turn, and the last screen is textured.
const char kTourEvents[] =
    "2 keydown 0x27\n12 keyup 0x27\n"
    "14 keydown 0x28\n20 keyup 0x28\n"
    "22 keydown 0xC3\n30 keyup 0xC3\n"
    "32 down 120 160\n33 move 150 150\n40 up 150 150\n"
    "42 keydown 0x24\n43 keyup 0x24\n"
    "44 keydown 0x25\n52 keyup 0x25\n"
    "53 keydown 0x24\n54 keyup 0x24\n"
    "54 keydown 0xC4\n58 keyup 0xC4\n";

bool writeInputs(const std::string& dir) {
  struct Input {
    const char* name;
    uint32_t faceSize;
    uint32_t tileSize;
    int32_t drawMode;
    bool compressed;
    const char* events;  // null: none
    const char* args;
  };
  const Input inputs[] = {
      {"raw-generic", 256, 32, 0, false, nullptr, "--frames 20 --device generic"},
      {"raw-linear", 256, 16, 0, false, kTourEvents, "--frames 60 --device linear"},
      {"compressed-direct", 256, 32, 0, true, kTourEvents, "--frames 60 --device direct"},
      {"compressed-palmax", 192, 32, 0, true, kTourEvents, "--frames 60 --device palmax"},
      {"transparent", 160, 32, 1, false, kTourEvents, "--frames 60"},
      {"averaged", 256, 64, 2, true, kTourEvents, "--frames 60"},
      {"blended", 256, 32, 3, false, kTourEvents, "--frames 60 --device linear"},
  };
  uint32_t seed = 1;
  for (const Input& input : inputs) {
    std::vector<uint16_t> pixels = test_containers::patternStore(input.faceSize, input.tileSize, seed++);
    if (input.drawMode & 1) {
      for (size_t i = 0; i < pixels.size(); i += 3) pixels[i] = 0;  // texel 0: see-through
    }
    const Bytes container =
        input.compressed ? compressedContainer(input.faceSize, input.tileSize, input.drawMode, pixels)
                         : test_containers::rawContainer(input.faceSize, input.tileSize, input.drawMode, pixels);
    const std::string stem = dir + "/" + input.name;
    std::string args = input.args;
    if (input.events != nullptr) {
      if (!writeText(stem + ".events", input.events)) return false;
      args += " --events " + stem + ".events";
    }
    args += " " + stem + ".qbz\n";
    if (!writeFile(stem + ".qbz", container) || !writeText(stem + ".args", args)) return false;
  }
  return true;
}

// A self-contained viewer: start view, limits, banner, caption and an overlay.
bool writeTail(size_t prefixBytes, const std::string& path) {
  test_containers::Extras extras;
  ViewerSettings& settings = extras.settings;
  settings.pitchMin = -300;
  settings.pitchMax = 400;
  settings.bannerColour = 0xFC81;
  settings.bannerFrames = 50;
  settings.captionColour = 0x03E1;
  settings.captionX = 40;
  settings.captionY = 290;
  settings.initialPitch = -40;
  settings.initialYaw = 1327;
  settings.initialZoom = 100;
  settings.zoomMin = 75;
  settings.zoomMax = 350;
  settings.overlay1Width = 24;
  settings.overlay1Height = 12;
  settings.overlay1X = 200;
  settings.overlay1Y = 8;
  extras.banner = "qbzview on any processor";
  extras.caption = "The same screen";
  for (uint32_t i = 0; i < 24 * 12; ++i) extras.overlay1.push_back(static_cast<uint16_t>(0x7C00 + i * 37));
  const std::vector<uint16_t> pixels = test_containers::patternStore(256, 32, 99);
  const Bytes container = compressedContainer(256, 32, 0, pixels);
  return writeFile(path, test_containers::appendedTail(prefixBytes, container, extras));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) return writeInputs(argv[1]) ? 0 : 1;
  if (argc == 4 && std::string(argv[1]) == "--tail") {
    return writeTail(std::strtoull(argv[2], nullptr, 10), argv[3]) ? 0 : 1;
  }
  std::fprintf(stderr, "usage: make_screen_inputs DIR | --tail EXECUTABLE_BYTES FILE\n");
  return 2;
}
