// Name resolution: a Windows Sockets 1.1 session per lookup, and a host name
// turned into the dotted text of every IPv4 address of the host. Failures are
// told to the user in the application's message box; callers see only a
// false result or a list of one empty element.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/address_text.h"

namespace DNS_Mod {

// Starts Windows Sockets asking for version 1.1. True only when the session
// is open and the granted version (at least 1.1) and socket capacity (at
// least 1) are usable; on false the user has been told why and no session
// is left open.
bool OpenSocketsSession();

// Ends the session of one successful OpenSocketsSession; a failure is shown
// to the user and not retried.
void CloseSocketsSession();

// Replaces the list with the addresses of the host, in the resolver's order,
// or with one empty element on any failure. The name goes to the resolver
// exactly as given, in the ANSI code page; a name that code page cannot hold
// exactly is a failed lookup and is not sent.
void ResolveHostAddresses(std::wstring_view hostName, AddressList& list);

// Bits 0-7 and 8-15 of the value: the major and minor parts of a version word.
std::int16_t LowByteOf(std::int32_t value);
std::int16_t HighByteOf(std::int32_t value);

}  // namespace DNS_Mod
