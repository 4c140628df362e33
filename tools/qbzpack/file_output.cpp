#include "qbzpack/file_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/png_writer.h"
#include "qbzpack/progress.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

void writeOutputFile(const std::string& path, const std::vector<uint8_t>& bytes, platform::FileMode mode) {
  std::optional<Progress> progress;
  if (bytes.size() >= 16 * platform::kFileWritePiece) {
    progress.emplace("writing " + std::filesystem::path(path).filename().string(),
                     bytes.size() / platform::kFileWritePiece);
  }
  const platform::FileWrite written =
      platform::writeFileAtomically(path, bytes, mode, [&progress](size_t) { if (progress) progress->advance(); });
  if (!written) throw ToolError(written.error);
}

void writeFilesTogether(const std::string& directory, uint32_t count,
                        const std::function<platform::NamedFile(uint32_t)>& make) {
  const platform::FileWrite written = platform::writeFilesTogether(directory, count, make);
  if (!written) throw ToolError(written.error);
}

std::vector<uint8_t> pngBytes(const RgbImage& picture) {
  std::vector<uint8_t> png = platform::encodePng(picture.samples, picture.width, picture.height, platform::PngColour::Rgb);
  if (png.empty()) throw ToolError("cannot encode a PNG of " + std::to_string(picture.width) + " x " +
                                   std::to_string(picture.height) + " pixels");
  return png;
}

std::vector<uint8_t> readWholeFile(const std::string& path, uint64_t maxBytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw ToolError(path + ": cannot open (" + std::strerror(errno) + ")");
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    if (bytes.size() + got > maxBytes) throw ToolError(path + ": file is too large");
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (std::ferror(file.get())) throw ToolError(path + ": read error");
  return bytes;
}

}  // namespace qbzpack
