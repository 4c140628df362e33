#include "platform/png_writer.h"

#include <zlib.h>

#include <cstdlib>
#include <iterator>
#include <limits>

namespace platform {

namespace {

constexpr size_t kIdatBytes = size_t{1} << 16;

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void appendChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, size_t size) {
  appendBigEndian(out, static_cast<uint32_t>(size));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data, data + size);
  const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
  appendBigEndian(out, static_cast<uint32_t>(crc));
}

int paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return left;
  return toUp <= toUpLeft ? up : upLeft;
}

// Filter byte 4 and the row, each byte less the Paeth prediction from its
// left, upper and upper-left neighbours.
void paethFilter(const uint8_t* row, const uint8_t* above, size_t rowBytes, size_t pixelBytes, uint8_t* out) {
  out[0] = 4;
  for (size_t i = 0; i < rowBytes; ++i) {
    const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
    const int upLeft = i >= pixelBytes ? above[i - pixelBytes] : 0;
    out[i + 1] = static_cast<uint8_t>(row[i] - paeth(left, above[i], upLeft));
  }
}

// Deflates what stream holds, appending an IDAT chunk each time the output
// buffer fills and at the end of the stream.
bool deflateInto(z_stream& stream, int flush, std::vector<uint8_t>& idat, std::vector<uint8_t>& png) {
  for (;;) {
    const int result = deflate(&stream, flush);
    if (result == Z_STREAM_ERROR) return false;
    const bool full = stream.avail_out == 0;
    if (full || result == Z_STREAM_END) {
      appendChunk(png, "IDAT", idat.data(), idat.size() - stream.avail_out);
      stream.next_out = idat.data();
      stream.avail_out = static_cast<uInt>(idat.size());
    }
    if (result == Z_STREAM_END) return true;
    if (!full) return flush != Z_FINISH;  // all input taken; a finish must have ended the stream
  }
}

}  // namespace

std::vector<uint8_t> encodePng(std::span<const uint8_t> samples, uint32_t width, uint32_t height, PngColour colour) {
  constexpr uint64_t kMaxEdge = std::numeric_limits<int32_t>::max();
  const size_t pixelBytes = static_cast<size_t>(colour);
  if (width == 0 || height == 0 || uint64_t{width} * pixelBytes >= kMaxEdge || height > kMaxEdge ||
      uint64_t{width} * height * pixelBytes != samples.size()) {
    return {};
  }
  const size_t rowBytes = size_t{width} * pixelBytes;

  z_stream stream{};
  // Z_FILTERED, as libpng chooses for filtered rows: filtered bytes are small and noisy.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_FILTERED) != Z_OK) return {};
  struct End {
    z_stream& stream;
    ~End() { deflateEnd(&stream); }
  } end{stream};

  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> png(std::begin(kSignature), std::end(kSignature));
  std::vector<uint8_t> header;
  appendBigEndian(header, width);
  appendBigEndian(header, height);
  const uint8_t colourType = colour == PngColour::Rgb ? 2 : 0;
  header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits, deflate, adaptive filters, no interlace
  appendChunk(png, "IHDR", header.data(), header.size());

  std::vector<uint8_t> idat(kIdatBytes);
  stream.next_out = idat.data();
  stream.avail_out = static_cast<uInt>(idat.size());
  std::vector<uint8_t> filtered(rowBytes + 1);
  const std::vector<uint8_t> zeroRow(rowBytes, 0);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = samples.data() + y * rowBytes;
    paethFilter(row, y == 0 ? zeroRow.data() : row - rowBytes, rowBytes, pixelBytes, filtered.data());
    stream.next_in = const_cast<Bytef*>(filtered.data());
    stream.avail_in = static_cast<uInt>(filtered.size());
    if (!deflateInto(stream, Z_NO_FLUSH, idat, png)) return {};
  }
  if (!deflateInto(stream, Z_FINISH, idat, png)) return {};
  appendChunk(png, "IEND", nullptr, 0);
  return png;
}

}  // namespace platform
