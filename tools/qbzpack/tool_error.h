// The one error type of the authoring tool: a message for the user, shown on a
// single line, and whether it came from the command line (usage) or from the
// input or the output (everything else).
#pragma once

#include <stdexcept>
#include <string>

namespace qbzpack {

class ToolError : public std::runtime_error {
 public:
  explicit ToolError(const std::string& message, bool usage = false) : std::runtime_error(message), usage_(usage) {}
  bool isUsage() const { return usage_; }

 private:
  bool usage_;
};

// Exit codes, as documented in --help.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

}  // namespace qbzpack
