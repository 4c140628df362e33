// The handheld's portrait screen and the makers whose OEM information string
// selects a display class.
#pragma once

#include <cstdint>

constexpr int32_t kScreenWidth = 240;
constexpr int32_t kScreenHeight = 320;
constexpr int32_t kScreenPixels = kScreenWidth * kScreenHeight;
constexpr int32_t kScreenRowBytes = kScreenWidth * 2;  // 5-6-5 pixels
constexpr int32_t kScreenBytes = kScreenPixels * 2;

// The first six characters of the OEM string: fixed or linear display memory
// ("Compaq", by model), linear memory ("Palmax"); any other maker is generic.
constexpr char16_t kOemMakerCompaq[] = u"Compaq";
constexpr char16_t kOemMakerPalmax[] = u"Palmax";
