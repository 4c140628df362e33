// What a desktop run of qbzview shows: the panorama the user named (a QBZ
// container, or an equirectangular PNG or JPEG picture converted in memory by
// qbzpack's own conversion), or the one appended to a self-contained viewer;
// and the names the window and its screenshots take from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct PanoramaSource {
  std::string standaloneFile;      // the host file standing for "\Temp\Test.QBZ"; empty: the default
  std::vector<uint8_t> converted;  // a picture's container, read in place of standaloneFile
  std::string title;               // "qbzview - mars.qbz", or the self-contained viewer's own name
  std::string identity;            // the same panorama gives the same identity (its absolute path)
  std::string screenshotStem;      // "DIR/mars": screenshots are DIR/mars-screen-N.png
  bool selfContained = false;      // the panorama appended to the executable
};

// True when the executable carries an appended container (a self-contained viewer).
bool hasAppendedContainer(const std::string& executablePath);

// The panorama for userPath (may be empty) run by executablePath. False with
// one line in error ("x.txt: not a QBZ container or an equirectangular
// PNG/JPEG picture", "mars.qbz: not found", ...) when there is nothing to
// show. A self-contained viewer shows its own panorama whatever userPath is,
// as on the handheld, unless ownContainerFirst is false (a file dropped on it).
bool choosePanorama(const std::string& userPath, const std::string& executablePath, bool ownContainerFirst,
                    PanoramaSource& source, std::string& error);

}  // namespace platform
