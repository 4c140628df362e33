// qbzpack through its command line, as a user runs it, on fuzzed files and
// arguments. The first input byte picks what the rest is:
//   0: a picture (PNG or JPEG) packed as an equirectangular panorama;
//   1: a picture appended as overlay 1 of a self-contained viewer;
//   2: command-line words, one a line (paths are kept inside the scratch
//      directory), with a small picture, a viewer stub and a container at hand;
//   3: a container or self-contained viewer given to `info` and `extract`.
#include <algorithm>
#include <vector>

#include "fuzz_support.h"
#include "qbzpack/cli.h"
#include "qbzpack/file_output.h"

namespace {

// Runs qbzpack in the scratch directory (and comes back, for libFuzzer's own
// relative paths).
int run(std::vector<std::string> words) {
  words.insert(words.begin(), "qbzpack");
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  static const std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::current_path(fuzz::scratchDirectory());
  const int status = qbzpack::runQbzpack(static_cast<int>(argv.size()), argv.data());
  std::filesystem::current_path(home);
  return status;
}

// Files the arguments may name, made once in the scratch directory.
bool prepare() {
  const std::filesystem::path& dir = fuzz::scratchDirectory();
  qbzpack::RgbImage picture(16, 8);
  for (size_t k = 0; k < picture.samples.size(); ++k) picture.samples[k] = static_cast<uint8_t>(k * 37);
  const std::vector<uint8_t> png = qbzpack::pngBytes(picture);
  const uint8_t stub[] = {'#', '!', 'v', 'i', 'e', 'w', 'e', 'r', '\n'};
  return fuzz::writeFile(dir / "pano.png", png.data(), png.size()) && fuzz::writeFile(dir / "viewer", stub, sizeof stub) &&
         run({"pack", "pano.png", "--face-size", "8", "--tile-size", "4", "--allow-holes", "-o", "pano.qbz"}) == 0;
}

// One word a line; no word reaches outside the scratch directory.
std::vector<std::string> wordsOf(std::string_view text) {
  std::vector<std::string> words;
  while (!text.empty() && words.size() < 40) {
    const size_t end = text.find('\n');
    std::string word(text.substr(0, end));
    std::replace_if(word.begin(), word.end(), [](char c) { return c == '/' || c == '\0'; }, '_');
    if (!word.empty() && word[0] == '.') word.insert(0, "x");
    words.push_back(word);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = prepare();
  if (!ready) __builtin_trap();
  fuzz::Reader in{data, size};
  const uint8_t mode = in.byte() & 3;
  const std::string input = "input.bin";
  if (mode != 2 && !fuzz::writeFile(fuzz::scratchDirectory() / input, in.data, in.size)) return 0;
  int status = 0;
  switch (mode) {
    case 0:
      status = run({"pack", input, "--face-size", "8", "--tile-size", "4", "--allow-holes", "-o", "out.qbz"});
      break;
    case 1:
      status = run({"pack", "pano.png", "--face-size", "8", "--tile-size", "4", "--allow-holes", "--viewer", "viewer",
                    "--overlay1", input, "--overlay1-x", "0", "--overlay1-y", "0", "-o", "out-viewer"});
      break;
    case 2:
      status = run(wordsOf(in.take(in.size)));
      break;
    default:
      status = run({"info", input});
      if (status == 0) status = run({"extract", input, "faces"});
      break;
  }
  if (status < 0 || status > 2) __builtin_trap();
  return 0;
}
