#include "qbzpack/cli.h"

int main(int argc, char** argv) { return qbzpack::runQbzpack(argc, argv); }
