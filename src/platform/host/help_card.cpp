#include "platform/host/help_card.h"

#include <algorithm>

#include "platform/desktop/desktop_keys.h"
#if QBZ_HAVE_PICTURES
#include "qbzpack/pixel_font.h"
#endif

namespace platform {

HostPicture renderHelpCard() {
  HostPicture card;
#if QBZ_HAVE_PICTURES
  constexpr int kMargin = 6;
  constexpr int kLineHeight = 10;
  int widest = 0;
  for (const char* line : kHelpCardLines) widest = std::max(widest, qbzpack::textWidth(line, 1));
  qbzpack::RgbImage picture(static_cast<uint32_t>(widest + 2 * kMargin),
                            static_cast<uint32_t>(kHelpCardLines.size() * kLineHeight + 2 * kMargin - 3));
  qbzpack::fillRect(picture, 0, 0, static_cast<int>(picture.width), static_cast<int>(picture.height), {24, 24, 40});
  int y = kMargin;
  for (const char* line : kHelpCardLines) {
    qbzpack::drawText(picture, kMargin, y, line, 1, {255, 151, 0});
    y += kLineHeight;
  }
  card.width = static_cast<int32_t>(picture.width);
  card.height = static_cast<int32_t>(picture.height);
  card.rgb = picture.samples;
#endif
  return card;
}

}  // namespace platform
