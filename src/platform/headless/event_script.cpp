#include "platform/headless/event_script.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/host_file.h"
#include "platform/platform.h"

namespace platform {

namespace {

constexpr int64_t kMaxFrame = 1'000'000'000;

bool parseInteger(std::string_view word, int64_t low, int64_t high, int64_t& value) {
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

// The separators of the C locale's word reading.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

bool EventScriptReader::fail(const std::string& why) {
  error_ = "line " + std::to_string(lineNumber_) + ": " + why;
  return false;
}

bool EventScriptReader::readLine() {
  line_.clear();
  bool any = false;
  for (;;) {
    if (bufferBegin_ == bufferEnd_) {
      in_.read(buffer_, sizeof buffer_);
      bufferBegin_ = 0;
      bufferEnd_ = static_cast<size_t>(in_.gcount());
      if (bufferEnd_ == 0) {
        if (any) ++lineNumber_;
        return any;
      }
    }
    any = true;
    const char* start = buffer_ + bufferBegin_;
    const size_t available = bufferEnd_ - bufferBegin_;
    const void* newline = std::memchr(start, '\n', available);
    const size_t take = newline == nullptr ? available : static_cast<size_t>(static_cast<const char*>(newline) - start);
    if (line_.size() + take > kMaxScriptLineChars) {
      ++lineNumber_;
      return fail("longer than " + std::to_string(kMaxScriptLineChars) + " characters");
    }
    line_.append(start, take);
    bufferBegin_ += take;
    if (newline != nullptr) {
      ++bufferBegin_;
      ++lineNumber_;
      return true;
    }
  }
}

bool EventScriptReader::next(ScriptedEvent& event) {
  if (!error_.empty()) return false;
  while (readLine()) {
    std::string_view text(line_);
    if (const size_t hash = text.find('#'); hash != std::string_view::npos) text = text.substr(0, hash);
    // The first four words and how many there are.
    std::string_view fields[4];
    size_t count = 0;
    for (size_t at = 0; at < text.size();) {
      while (at < text.size() && isBlank(text[at])) ++at;
      if (at == text.size()) break;
      const size_t start = at;
      while (at < text.size() && !isBlank(text[at])) ++at;
      if (count < 4) fields[count] = text.substr(start, at - start);
      ++count;
    }
    if (count == 0) continue;

    int64_t frame = 0;
    if (!parseInteger(fields[0], 1, kMaxFrame, frame)) return fail("frame must be a number from 1");
    if (count < 2) return fail("missing event kind");
    const std::string_view kind = fields[1];
    event = {static_cast<int32_t>(frame), 0, 0, 0};
    if (kind == "keydown" || kind == "keyup") {
      int64_t key = 0;
      if (count != 3 || !parseInteger(fields[2], 0, 0xFFFF, key)) {
        return fail(std::string(kind) + " takes one key code, 0 to 0xFFFF");
      }
      event.message = kind == "keydown" ? kMessageKeyDown : kMessageKeyUp;
      event.wParam = static_cast<uintptr_t>(key);
    } else if (kind == "down" || kind == "move" || kind == "up") {
      int64_t x = 0;
      int64_t y = 0;
      if (count != 4 || !parseInteger(fields[2], -32768, 65535, x) || !parseInteger(fields[3], -32768, 65535, y)) {
        return fail(std::string(kind) + " takes X and Y");
      }
      event.message = kind == "down" ? kMessageStylusDown : kind == "move" ? kMessageStylusMove : kMessageStylusUp;
      event.wParam = kind == "up" ? 0 : kStylusHeldBit;
      event.lParam = stylusPosition(static_cast<int32_t>(x), static_cast<int32_t>(y));
    } else {
      return fail("unknown event kind '" + std::string(kind) + "'");
    }
    return true;
  }
  if (!error_.empty()) return false;
  if (in_.bad()) return fail("read error");
  return false;
}

bool parseEventScript(const std::string& text, std::vector<ScriptedEvent>& events, std::string& error) {
  events.clear();
  std::istringstream in(text);
  EventScriptReader reader(in);
  for (ScriptedEvent event; reader.next(event);) events.push_back(event);
  if (!reader.error().empty()) {
    error = reader.error();
    events.clear();
    return false;
  }
  return true;
}

bool loadEventScript(const std::string& path, EventScriptSource& source, std::string& error) {
  source = {};
  std::error_code status;
  if (std::filesystem::is_directory(hostFilePath(path), status)) {
    error = path + " is a directory, not an event script";
    return false;
  }
  std::ifstream file(hostFilePath(path), std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  // One pass checks every line; the events are kept while there are few.
  EventScriptReader reader(file);
  size_t count = 0;
  int32_t lastFrame = 0;
  int64_t firstOutOfOrder = 0;
  std::string outOfOrder;
  for (ScriptedEvent event; reader.next(event);) {
    if (event.frame < lastFrame && firstOutOfOrder == 0) {
      firstOutOfOrder = reader.lineNumber();
      outOfOrder = "frame " + std::to_string(event.frame) + " comes after frame " + std::to_string(lastFrame);
    }
    lastFrame = std::max(lastFrame, event.frame);
    if (++count <= kMaxHeldEvents) {
      source.events.push_back(event);
    } else if (!source.events.empty()) {
      std::vector<ScriptedEvent>().swap(source.events);  // it will be read again instead
    }
  }
  if (!reader.error().empty()) {
    error = path + ": " + reader.error();
    source = {};
    return false;
  }
  if (count <= kMaxHeldEvents) return true;
  const std::string many = "a script of more than " + std::to_string(kMaxHeldEvents) + " events";
  if (firstOutOfOrder != 0) {
    error = path + ": line " + std::to_string(firstOutOfOrder) + ": " + outOfOrder + "; " + many +
            " must list its frames in order";
    return false;
  }
  if (!std::filesystem::is_regular_file(path, status)) {
    error = path + ": " + many + " must be a regular file (it is read again during the run)";
    return false;
  }
  source.streamedPath = path;
  return true;
}

}  // namespace platform
