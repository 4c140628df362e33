// Writing two display pixels as one aligned 32-bit store: the pixel at the
// lower address in the low half on a little-endian display, so the word is
// composed to put it at the lower address whatever the host's byte order.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/frame_buffer.h"
#include "display/colour_lookup.h"

namespace display {

// std::assume_aligned where the C++ library has it; the web build's (libc++
// 13) does not, and the compiler's built-in says the same.
template <size_t Alignment, class T>
inline T* alignedAt(T* pointer) {
#if defined(__cpp_lib_assume_aligned)
  return std::assume_aligned<Alignment>(pointer);
#else
  return static_cast<T*>(__builtin_assume_aligned(pointer, Alignment));
#endif
}

constexpr uint32_t pixelPairWord(uint16_t lowerAddressPixel, uint16_t higherAddressPixel) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<uint32_t>(lowerAddressPixel) | (static_cast<uint32_t>(higherAddressPixel) << 16);
  } else {
    return static_cast<uint32_t>(higherAddressPixel) | (static_cast<uint32_t>(lowerAddressPixel) << 16);
  }
}

// at must be 4-byte aligned; memcpy keeps the store free of aliasing trouble,
// and with the alignment stated it is a single word store even where
// unaligned stores do not exist (ARMv5; otherwise a call to memcpy).
inline void storePixelWord(uint8_t* at, uint32_t word) {
  std::memcpy(alignedAt<4>(at), &word, sizeof word);
}

inline void storePixelPair(uint8_t* at, uint16_t lowerAddressPixel, uint16_t higherAddressPixel) {
  storePixelWord(at, pixelPairWord(lowerAddressPixel, higherAddressPixel));
}

// A cell's colour index read as the 16-bit half it is: one halfword load on
// targets that would otherwise load the word and mask it (ARM).
inline uint16_t loadCellColour(const int32_t* cell) {
  constexpr size_t kLowHalf = std::endian::native == std::endian::little ? 0 : 2;
  uint16_t colour;
  std::memcpy(&colour, alignedAt<2>(reinterpret_cast<const unsigned char*>(cell) + kLowHalf), sizeof colour);
  return colour;
}

// The display pixel of a cell, and the cell cleared for the next frame.
inline uint16_t takePixel(int32_t& cell, const uint16_t* lookup, int32_t clearValue) {
  const uint16_t pixel = lookup[loadCellColour(&cell)];
  cell = clearValue;
  return pixel;
}

}  // namespace display
