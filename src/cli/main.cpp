#include "cli/cli.h"

int main(int argc, char** argv) { return velmora::cli::runMain(argc, argv); }
