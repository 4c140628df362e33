// Integer arithmetic of the renderer: 32-bit two's complement that wraps, and
// right shifts that floor. Signed overflow is undefined in C++, so every sum or
// product that may leave the int32 range goes through these helpers; they
// compile to the plain machine instructions.
#pragma once

#include <cstdint>

namespace fx {

constexpr int32_t add(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
constexpr int32_t sub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
constexpr int32_t mul(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }
constexpr int32_t neg(int32_t a) { return static_cast<int32_t>(0u - static_cast<uint32_t>(a)); }

// Left shift as on the machine: the bits that leave the word are lost.
constexpr int32_t shl(int32_t a, int n) { return static_cast<int32_t>(static_cast<uint32_t>(a) << n); }

// Arithmetic right shift, rounding toward minus infinity (defined in C++20).
constexpr int32_t sar(int32_t a, int n) { return a >> n; }

// Keeps the low 16 bits as a signed value, as a store into an int16 field does.
constexpr int16_t cut16(int32_t a) { return static_cast<int16_t>(a); }

}  // namespace fx
