#pragma once

// Host lookup for the console program through the system resolver, with no
// user interface of its own (the window's lookup shows message boxes).

#include <string>
#include <vector>

namespace quadsum_cli {

struct LookupResult {
  std::vector<std::string> addresses;  // dotted, in the resolver's order, each once
  std::string error;                   // why there are none
};

// The IPv4 addresses of the host.
LookupResult LookUpHost(const std::string& host);

}  // namespace quadsum_cli
