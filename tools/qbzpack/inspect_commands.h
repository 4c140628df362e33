// `qbzpack info` and `qbzpack extract`: looking into an existing container or
// self-contained viewer.
#pragma once

#include <ostream>
#include <string>

namespace qbzpack {

// Prints the header, derived geometry, trailer and settings; returns whether
// the viewer would load the file.
bool runInfo(const std::string& path, std::ostream& out);

// Writes the six faces as front.png ... down.png into directory.
void runExtract(const std::string& path, const std::string& directory);

}  // namespace qbzpack
