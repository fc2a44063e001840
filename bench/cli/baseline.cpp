// The plain way to convert a file of values with the C library, for
// comparison with quadsum-cli: getline, inet_pton and printf("%u\n"), or
// strtoul, inet_ntop and puts the other way round.
//
//   cli_baseline --to-int <addresses   cli_baseline --to-ip <integers

#include <arpa/inet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  const bool toInt = argc > 1 && std::strcmp(argv[1], "--to-int") == 0;
  char* line = nullptr;
  std::size_t capacity = 0;
  ssize_t length;
  while ((length = getline(&line, &capacity, stdin)) > 0) {
    if (line[length - 1] == '\n') line[length - 1] = '\0';
    in_addr address{};
    if (toInt) {
      if (inet_pton(AF_INET, line, &address) == 1) std::printf("%u\n", ntohl(address.s_addr));
      else std::puts("");
    } else {
      address.s_addr = htonl(static_cast<in_addr_t>(std::strtoul(line, nullptr, 10)));
      char text[INET_ADDRSTRLEN];
      std::puts(inet_ntop(AF_INET, &address, text, sizeof text));
    }
  }
  std::free(line);
  return 0;
}
