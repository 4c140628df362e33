#include "platform/host/panorama_source.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "panorama/container_format.h"
#include "platform/path_mapping.h"
#if QBZ_HAVE_PICTURES
#include "qbzpack/pack_in_memory.h"
#include "qbzpack/tool_error.h"
#endif

namespace fs = std::filesystem;

namespace platform {

namespace {

enum class Kind { Container, Picture, Other };

Kind kindOf(const std::array<char, 8>& head, std::streamsize length) {
  static constexpr unsigned char kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  static constexpr unsigned char kJpeg[3] = {0xFF, 0xD8, 0xFF};
  if (length >= 4 && std::memcmp(head.data(), kContainerMagic, 4) == 0) return Kind::Container;
  if (length >= 8 && std::memcmp(head.data(), kPng, 8) == 0) return Kind::Picture;
  if (length >= 3 && std::memcmp(head.data(), kJpeg, 3) == 0) return Kind::Picture;
  return Kind::Other;
}

std::string absolute(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

// Screenshots go next to the panorama when its directory takes files, else
// into the current directory.
std::string screenshotStemFor(const std::string& panoramaPath) {
  const fs::path path(absolute(panoramaPath));
  const fs::path directory = path.parent_path();
  std::error_code error;
  const fs::path probe = directory / (".qbzview-probe-" + std::to_string(fs::hash_value(path)));
  std::ofstream test(probe);
  const bool writable = test.good();
  test.close();
  if (writable) fs::remove(probe, error);
  return ((writable ? directory : fs::current_path(error)) / path.stem()).string();
}

}  // namespace

bool hasAppendedContainer(const std::string& executablePath) {
  std::ifstream file(executablePath, std::ios::binary | std::ios::ate);
  if (!file || file.tellg() < static_cast<std::streamoff>(kContainerTrailerBytes)) return false;
  std::array<char, 4> magic{};
  file.seekg(-4, std::ios::end);
  file.read(magic.data(), 4);
  return file.gcount() == 4 && std::memcmp(magic.data(), kTrailerMagic, 4) == 0;
}

bool choosePanorama(const std::string& userPath, const std::string& executablePath, bool ownContainerFirst,
                    PanoramaSource& source, std::string& error) {
  source = PanoramaSource{};
  if (ownContainerFirst && hasAppendedContainer(executablePath)) {
    source.standaloneFile = userPath;
    source.title = fs::path(executablePath).filename().string();
    source.identity = absolute(executablePath);
    source.screenshotStem = screenshotStemFor(executablePath);
    source.selfContained = true;
    return true;
  }
  // Without a name, the handheld's fixed file when there is one.
  const std::string path = userPath.empty() ? standaloneHostPath("") : userPath;
  std::error_code status;
  if (!fs::exists(path, status)) {
    error = userPath.empty() ? "no panorama given: qbzview PANORAMA.qbz, or an equirectangular PNG/JPEG picture"
                             : userPath + ": not found";
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!fs::is_regular_file(path, status) || !file) {
    error = path + (fs::is_regular_file(path, status) ? ": cannot be read"
                                                      : ": not a QBZ container or an equirectangular PNG/JPEG picture");
    return false;
  }
  std::array<char, 8> head{};
  file.read(head.data(), head.size());
  const Kind kind = kindOf(head, file.gcount());
  if (kind == Kind::Other) {
    error = path + ": not a QBZ container or an equirectangular PNG/JPEG picture";
    return false;
  }
  if (kind == Kind::Picture) {
#if QBZ_HAVE_PICTURES
    try {
      source.converted = qbzpack::packPictureInMemory(path);
    } catch (const qbzpack::ToolError& failure) {
      const std::string message = failure.what();
      error = message.rfind(path, 0) == 0 ? message : path + ": " + message;
      return false;
    } catch (const std::bad_alloc&) {
      error = path + ": too large to convert";
      return false;
    }
#else
    error = path + ": this build of qbzview cannot open pictures; pack it with qbzpack first";
    return false;
#endif
  }
  source.standaloneFile = path;
  source.title = "qbzview - " + fs::path(path).filename().string();
  source.identity = absolute(path);
  source.screenshotStem = screenshotStemFor(path);
  return true;
}

}  // namespace platform
