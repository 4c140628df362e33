#include "platform/screen_capture.h"

#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/emulated_display.h"
#include "platform/host_file.h"
#include "platform/pixel_widening.h"

namespace platform {

namespace {

bool isWholeScreen(const std::vector<uint16_t>& screen) { return screen.size() == static_cast<size_t>(kScreenPixels); }

// The raw form: each pixel as two bytes, low byte first.
std::vector<uint8_t> littleEndianBytes(const std::vector<uint16_t>& screen) {
  std::vector<uint8_t> bytes;
  bytes.reserve(screen.size() * 2);
  for (uint16_t pixel : screen) {
    bytes.push_back(static_cast<uint8_t>(pixel & 0xFF));
    bytes.push_back(static_cast<uint8_t>(pixel >> 8));
  }
  return bytes;
}

// 8-bit RGB, each channel widened by repeating its top bits below it.
std::vector<uint8_t> rgbBytes(const std::vector<uint16_t>& screen) {
  std::vector<uint8_t> rgb;
  rgb.reserve(screen.size() * 3);
  for (uint16_t pixel : screen) {
    rgb.push_back(widenRed(pixel));
    rgb.push_back(widenGreen(pixel));
    rgb.push_back(widenBlue(pixel));
  }
  return rgb;
}

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void appendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  appendBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
  appendBigEndian(out, static_cast<uint32_t>(crc));
}

// An 8-bit RGB PNG, every row unfiltered, compressed with zlib alone (which
// every host build has, Windows included).
bool encodePng(const std::vector<uint16_t>& screen, std::vector<uint8_t>& png) {
  const std::vector<uint8_t> rgb = rgbBytes(screen);
  const size_t rowBytes = kScreenWidth * 3;
  std::vector<uint8_t> rows;
  rows.reserve((rowBytes + 1) * kScreenHeight);
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    rows.push_back(0);  // filter: none
    rows.insert(rows.end(), rgb.begin() + static_cast<ptrdiff_t>(y * rowBytes),
                rgb.begin() + static_cast<ptrdiff_t>((y + 1) * rowBytes));
  }
  uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), Z_BEST_COMPRESSION) != Z_OK) {
    return false;
  }
  packed.resize(packedSize);

  std::vector<uint8_t> header;
  appendBigEndian(header, kScreenWidth);
  appendBigEndian(header, kScreenHeight);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png.assign(std::begin(kSignature), std::end(kSignature));
  appendChunk(png, "IHDR", header);
  appendChunk(png, "IDAT", packed);
  appendChunk(png, "IEND", {});
  return true;
}

// A reader never sees a half-written file: write beside it, then rename.
std::string temporaryPathFor(const std::string& path) { return path + ".partial"; }

bool replaceWith(const std::string& temporary, const std::string& path) {
  std::error_code error;
  std::filesystem::rename(hostFilePath(temporary), hostFilePath(path), error);
  if (error) std::filesystem::remove(hostFilePath(temporary), error);
  return !error;
}

void discard(const std::string& temporary) {
  std::error_code error;
  std::filesystem::remove(hostFilePath(temporary), error);
}

bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temporary = temporaryPathFor(path);
  std::FILE* file = openHostFile(temporary, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    discard(temporary);
    return false;
  }
  return replaceWith(temporary, path);
}

}  // namespace

bool writeRawScreen(const std::string& path, const std::vector<uint16_t>& screen) {
  if (!isWholeScreen(screen) || path.empty()) return false;
  return writeWholeFile(path, littleEndianBytes(screen));
}

bool writePngScreen(const std::string& path, const std::vector<uint16_t>& screen) {
  if (!isWholeScreen(screen) || path.empty()) return false;
  std::vector<uint8_t> png;
  return encodePng(screen, png) && writeWholeFile(path, png);
}

uint64_t screenHash(const std::vector<uint16_t>& screen) {
  constexpr uint64_t kOffsetBasis = 14695981039346656037ull;
  constexpr uint64_t kPrime = 1099511628211ull;
  uint64_t hash = kOffsetBasis;
  for (uint16_t pixel : screen) {
    hash = (hash ^ (pixel & 0xFFu)) * kPrime;
    hash = (hash ^ (pixel >> 8)) * kPrime;
  }
  return hash;
}

}  // namespace platform
