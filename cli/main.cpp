// quadsum-cli: IP numbers, IPv4 and IPv6, from text to integers and back, for scripts.

#include "cli/app.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Bytes in and out as they are: LF stays LF, and CR LF input is read by
  // the program itself.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  return quadsum_cli::Run(argc, argv);
}
