// Appends the self-contained panorama to a viewer executable, for the ARM
// screen comparison (scripts/test-arm.sh builds this for the host).
//   make_self_contained VIEWER OUTPUT

#include <fstream>
#include <iterator>

#include "arm/self_contained_viewer.h"
#include "platform/atomic_file.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<uint8_t> viewer{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::vector<uint8_t> bytes = selfContainedViewer(viewer);
  return !viewer.empty() && !bytes.empty() && platform::writeFileAtomically(argv[2], bytes) ? 0 : 1;
}
