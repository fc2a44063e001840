// A stand-in for Windows Sockets and the message box, for tests of the
// lookup and of the dialog that runs it.
#pragma once

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "resolve/winsock_api.h"
#include "ui/seams.h"

namespace fake {

using Bytes = std::vector<std::vector<unsigned char>>;

struct Box {
  std::wstring text;
  ui::MessageIcon icon;
  bool operator==(const Box&) const = default;
};

struct Answer {
  Bytes addresses;
  short length = 4;
  bool nullList = false;
};

// Grants and answers what the test sets, and records every call and every box.
struct FakeWinsock {
  int startupResult = 0, cleanupResult = 0;
  WORD granted = 0x0101;
  unsigned short maxSockets = 100;
  std::optional<Answer> answer;        // none: gethostbyname returns null
  std::function<void()> duringLookup;  // runs while the caller waits for the answer

  bool wellAsked = true;               // version 1.1 asked, into a zeroed record
  int startups = 0, cleanups = 0;
  std::vector<std::string> names;      // bytes handed to gethostbyname
  std::vector<int> openAtLookup;       // sessions open at each lookup
  std::vector<Box> boxes;

  ScopedWinsock restoreWinsock;
  ui::ScopedSeams restoreSeams;
  Bytes bytes;
  std::vector<char*> entries;
  hostent host{};

  FakeWinsock() {
    winsock().startup = [this](WORD version, WSADATA* data) {
      const WSADATA zero{};
      wellAsked = wellAsked && version == 0x0101 && std::memcmp(data, &zero, sizeof zero) == 0;
      if (startupResult != 0) return startupResult;
      data->wVersion = granted;
      data->iMaxSockets = maxSockets;
      ++startups;
      return 0;
    };
    // The answer belongs to the session: spoil it on cleanup so a late read
    // shows up as wrong addresses.
    winsock().cleanup = [this] {
      ++cleanups;
      for (auto& address : bytes) std::memset(address.data(), 0xEE, address.size());
      return cleanupResult;
    };
    winsock().getHostByName = [this](const char* name) { return Lookup(name); };
    ui::seams().messageBox = [this](std::wstring_view text, ui::MessageIcon icon) {
      boxes.push_back({std::wstring(text), icon});
    };
  }

  hostent* Lookup(const char* name) {
    names.emplace_back(name);
    openAtLookup.push_back(startups - cleanups);
    if (duringLookup) duringLookup();
    if (!answer) return nullptr;
    bytes = answer->addresses;
    entries.clear();
    for (auto& address : bytes) entries.push_back(reinterpret_cast<char*>(address.data()));
    entries.push_back(nullptr);
    host = hostent{};
    host.h_addrtype = AF_INET;
    host.h_length = answer->length;
    host.h_addr_list = answer->nullList ? nullptr : entries.data();
    return &host;
  }
};

}  // namespace fake
