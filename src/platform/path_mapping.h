// Where the handheld's files are on a desktop host: the running executable,
// and the host file standing for the fixed container path.
#pragma once

#include <string>

namespace platform {

constexpr char kStandaloneHandheldPath[] = "\\Temp\\Test.QBZ";

// This process's executable, from /proc/self/exe; empty when unknown.
std::string runningExecutablePath();
// The host's temporary directory ("/tmp" when it cannot be found).
std::string hostTempDirectory();
// The host file for "\Temp\Test.QBZ": standaloneFile when given, else
// Test.QBZ in the temporary directory.
std::string standaloneHostPath(const std::string& standaloneFile);
// The host file standing for a handheld path: "\Temp\Test.QBZ" as above,
// any other "\Temp\..." file in the temporary directory (never above it);
// empty for every other path.
std::string mapHandheldPath(const std::string& handheldPath, const std::string& standaloneFile);

}  // namespace platform
