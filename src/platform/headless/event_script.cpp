#include "platform/headless/event_script.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/host_file.h"
#include "platform/platform.h"

namespace platform {

namespace {

constexpr size_t kMaxScriptBytes = 64u << 20;  // a script larger than this is refused
constexpr int64_t kMaxFrame = 1'000'000'000;

bool parseInteger(const std::string& word, int64_t low, int64_t high, int64_t& value) {
  const char* begin = word.data();
  const char* end = word.data() + word.size();
  int base = 10;
  bool negative = false;
  if (begin != end && (*begin == '-' || *begin == '+')) {
    negative = *begin == '-';
    ++begin;
  }
  if (end - begin > 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X')) {
    base = 16;
    begin += 2;
  }
  uint64_t magnitude = 0;
  const auto [stop, error] = std::from_chars(begin, end, magnitude, base);
  if (error != std::errc() || stop != end || begin == end || magnitude > (1ull << 40)) return false;
  value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  return value >= low && value <= high;
}

}  // namespace

bool parseEventScript(const std::string& text, std::vector<ScriptedEvent>& events, std::string& error) {
  events.clear();
  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;) fields.push_back(word);
    if (fields.empty()) continue;

    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(lineNumber) + ": " + why;
      events.clear();
      return false;
    };
    int64_t frame = 0;
    if (!parseInteger(fields[0], 1, kMaxFrame, frame)) return fail("frame must be a number from 1");
    if (fields.size() < 2) return fail("missing event kind");
    const std::string& kind = fields[1];
    ScriptedEvent event{static_cast<int32_t>(frame), 0, 0, 0};
    if (kind == "keydown" || kind == "keyup") {
      int64_t key = 0;
      if (fields.size() != 3 || !parseInteger(fields[2], 0, 0xFFFF, key)) {
        return fail(kind + " takes one key code, 0 to 0xFFFF");
      }
      event.message = kind == "keydown" ? kMessageKeyDown : kMessageKeyUp;
      event.wParam = static_cast<uintptr_t>(key);
    } else if (kind == "down" || kind == "move" || kind == "up") {
      int64_t x = 0;
      int64_t y = 0;
      if (fields.size() != 4 || !parseInteger(fields[2], -32768, 65535, x) ||
          !parseInteger(fields[3], -32768, 65535, y)) {
        return fail(kind + " takes X and Y");
      }
      event.message = kind == "down" ? kMessageStylusDown : kind == "move" ? kMessageStylusMove : kMessageStylusUp;
      event.wParam = kind == "up" ? 0 : kStylusHeldBit;
      event.lParam = stylusPosition(static_cast<int32_t>(x), static_cast<int32_t>(y));
    } else {
      return fail("unknown event kind '" + kind + "'");
    }
    events.push_back(event);
  }
  return true;
}

bool loadEventScript(const std::string& path, std::vector<ScriptedEvent>& events, std::string& error) {
  std::ifstream file(hostFilePath(path), std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  std::string text;
  char chunk[65536];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    text.append(chunk, static_cast<size_t>(file.gcount()));
    if (text.size() > kMaxScriptBytes) {
      error = path + " is larger than 64 MiB";
      return false;
    }
  }
  if (!parseEventScript(text, events, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace platform
