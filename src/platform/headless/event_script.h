// Scripted input for the headless backend: one event a line, "FRAME KIND ARGS".
// Scripts are read line by line with one line held at a time, so a script of
// any length runs in bounded memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace platform {

struct ScriptedEvent {
  int32_t frame;  // posted after frame - 1 was produced, so dispatched before frame
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

// A longer line is an error naming it (the newline is not counted).
constexpr size_t kMaxScriptLineChars = 4096;
// Scripts of up to this many events are held whole (about 1.5 MB), in any
// frame order; a longer one is read again frame by frame during the run and
// must list its frames in order.
constexpr size_t kMaxHeldEvents = 65536;

// Reads events from a stream one line at a time.
class EventScriptReader {
 public:
  explicit EventScriptReader(std::istream& in) : in_(in) {}
  // The next event; false at the end of the script or at a bad line, which
  // error() then names ("line N: why").
  bool next(ScriptedEvent& event);
  const std::string& error() const { return error_; }
  // The line of the event last returned.
  int64_t lineNumber() const { return lineNumber_; }

 private:
  // The next line without its newline into line_; false at the end or when too long.
  bool readLine();
  bool fail(const std::string& why);

  std::istream& in_;
  std::string line_;
  std::string error_;
  int64_t lineNumber_ = 0;
  char buffer_[16384];
  size_t bufferBegin_ = 0;
  size_t bufferEnd_ = 0;
};

// Parses a whole script. On a bad line, returns false and sets error to one
// line naming it; events is then left empty.
bool parseEventScript(const std::string& text, std::vector<ScriptedEvent>& events, std::string& error);

// A script file, checked whole before the run: either its events, or (for a
// script of more than kMaxHeldEvents events in frame order) the file to read
// again frame by frame.
struct EventScriptSource {
  std::vector<ScriptedEvent> events;
  std::string streamedPath;
};
// False with one line in error ("PATH: line N: why", "cannot read PATH", ...).
bool loadEventScript(const std::string& path, EventScriptSource& source, std::string& error);

}  // namespace platform
