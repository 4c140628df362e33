#include "qbzpack/store_compression.h"

#include <zlib.h>

#include <algorithm>

#include "panorama/container_format.h"
#include "qbzpack/parallel_work.h"
#include "qbzpack/progress.h"
#include "qbzpack/tool_error.h"

namespace qbzpack {

namespace {

constexpr size_t kPieceValues = size_t{1} << 19;  // 1 MiB of store bytes a piece
constexpr size_t kWindowBytes = 32768;

// One piece as raw deflate data (no zlib header or check value).
std::vector<uint8_t> deflatePiece(const std::vector<uint16_t>& store, size_t piece, size_t pieces, int level) {
  const size_t begin = piece * kPieceValues, end = std::min(store.size(), begin + kPieceValues);
  const size_t primed = piece == 0 ? 0 : kWindowBytes / 2;  // values before the piece, as its dictionary
  std::vector<uint8_t> input((end - begin + primed) * 2);
  encodeLe16(store.data() + begin - primed, end - begin + primed, input.data());

  z_stream stream{};
  if (deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw ToolError("cannot set up the compressor");
  }
  const size_t dictionaryBytes = primed * 2;
  if (dictionaryBytes > 0) deflateSetDictionary(&stream, input.data(), static_cast<uInt>(dictionaryBytes));
  std::vector<uint8_t> output(deflateBound(&stream, static_cast<uLong>(input.size() - dictionaryBytes)) + 16);
  stream.next_in = input.data() + dictionaryBytes;
  stream.avail_in = static_cast<uInt>(input.size() - dictionaryBytes);
  stream.next_out = output.data();
  stream.avail_out = static_cast<uInt>(output.size());
  const bool last = piece + 1 == pieces;
  const int result = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
  const bool whole = last ? result == Z_STREAM_END : (result == Z_OK && stream.avail_in == 0);
  output.resize(stream.total_out);
  deflateEnd(&stream);
  if (!whole) throw ToolError("the compressor failed");
  return output;
}

}  // namespace

std::vector<uint8_t> deflateStore(const std::vector<uint16_t>& store, int level) {
  const size_t pieces = std::max<size_t>(1, (store.size() + kPieceValues - 1) / kPieceValues);
  std::vector<std::vector<uint8_t>> deflated(pieces);
  std::vector<uLong> checks(pieces);
  Progress progress("compressing", pieces);
  forEachInParallel(static_cast<uint32_t>(pieces), [&](uint32_t piece) {
    deflated[piece] = deflatePiece(store, piece, pieces, level);
    // The piece's share of the stream's Adler-32 check value.
    const size_t begin = piece * kPieceValues, end = std::min(store.size(), begin + kPieceValues);
    std::vector<uint8_t> bytes((end - begin) * 2);
    encodeLe16(store.data() + begin, end - begin, bytes.data());
    checks[piece] = adler32(adler32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size()));
    progress.advance();
  });

  // The zlib header as deflate itself writes it for this level, then the
  // pieces, then the Adler-32 of the whole store, big-endian.
  const unsigned levelFlags = level < 2 ? 0 : (level < 6 ? 1 : (level == 6 ? 2 : 3));
  unsigned header = (Z_DEFLATED + ((MAX_WBITS - 8) << 4)) << 8 | levelFlags << 6;
  header += 31 - header % 31;
  size_t total = 6;
  for (const auto& piece : deflated) total += piece.size();
  std::vector<uint8_t> stream;
  stream.reserve(total);
  stream.push_back(static_cast<uint8_t>(header >> 8));
  stream.push_back(static_cast<uint8_t>(header));
  uLong check = adler32(0, nullptr, 0);
  for (size_t piece = 0; piece < pieces; ++piece) {
    stream.insert(stream.end(), deflated[piece].begin(), deflated[piece].end());
    std::vector<uint8_t>().swap(deflated[piece]);
    const size_t begin = piece * kPieceValues, end = std::min(store.size(), begin + kPieceValues);
    check = adler32_combine(check, checks[piece], static_cast<z_off_t>((end - begin) * 2));
  }
  for (int shift = 24; shift >= 0; shift -= 8) stream.push_back(static_cast<uint8_t>(check >> shift));
  return stream;
}

}  // namespace qbzpack
