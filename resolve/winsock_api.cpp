#include "resolve/winsock_api.h"

namespace {

WinsockApi RealWinsock() {
  WinsockApi api;
  api.startup = [](WORD version, WSADATA* data) { return WSAStartup(version, data); };
  api.cleanup = [] { return WSACleanup(); };
  api.getHostByName = [](const char* name) { return gethostbyname(name); };
  return api;
}

}  // namespace

WinsockApi& winsock() {
  static WinsockApi instance = RealWinsock();
  return instance;
}
