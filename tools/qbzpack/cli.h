// The qbzpack command line: parses the arguments, runs the subcommand and
// turns every failure into one line on stderr and an exit code.
#pragma once

namespace qbzpack {

int runQbzpack(int argc, const char* const* argv);

}  // namespace qbzpack
