// The three Windows Sockets 1.1 calls that name resolution makes, behind a
// replaceable table so that tests and benchmarks can answer in place of the
// platform resolver and nothing leaves the process.
#pragma once

#include <windows.h>
// Sockets 1.1 only; winsock2.h must not be mixed into the same unit.
#include <winsock.h>

#include <functional>

#include "ui/scoped_restore.h"

struct WinsockApi {
  std::function<int(WORD version, WSADATA* data)> startup;  // WSAStartup
  std::function<int()> cleanup;                             // WSACleanup
  std::function<hostent*(const char* name)> getHostByName;  // gethostbyname
};

// The calls in force; the real wsock32 functions unless replaced.
WinsockApi& winsock();

// Puts the calls in force at construction back when the scope ends.
struct ScopedWinsock : ui::ScopedRestore<WinsockApi> {
  ScopedWinsock() : ScopedRestore(winsock()) {}
};
