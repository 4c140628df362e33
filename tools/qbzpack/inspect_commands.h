// `qbzpack info` and `qbzpack extract`: looking into an existing container or
// self-contained viewer.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "panorama/container_reader.h"

namespace qbzpack {

// The file judged as the viewer judges it: as an appended container when it
// ends in the trailer magic, as a stand-alone one otherwise. Throws ToolError
// only when the file cannot be read.
ParsedContainer readPanoramaFile(const std::string& path, uint64_t* fileBytes = nullptr);

// Prints the header, derived geometry, trailer and settings; returns whether
// the viewer would load the file.
bool runInfo(const std::string& path, std::ostream& out);

// Writes the six faces as front.png ... down.png into directory.
void runExtract(const std::string& path, const std::string& directory);

}  // namespace qbzpack
