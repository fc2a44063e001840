#include "resolve/winsock_api.h"

#include "ui/handles.h"

namespace {

// Loaded once, at the first lookup, not at start-up. Without it each call
// fails as the calls themselves report failure.
HMODULE Wsock32Module() {
  static const ui::ModulePtr wsock32 = ui::LoadSystemLibrary(L"wsock32.dll");
  return wsock32.get();
}

template <class Function>
Function Wsock32(const char* name) {
  return ui::ModuleFunction<Function>(Wsock32Module(), name);
}

WinsockApi RealWinsock() {
  WinsockApi api;
  api.startup = [](WORD version, WSADATA* data) {
    static const auto startup = Wsock32<decltype(&WSAStartup)>("WSAStartup");
    return startup ? startup(version, data) : WSASYSNOTREADY;
  };
  api.cleanup = [] {
    static const auto cleanup = Wsock32<decltype(&WSACleanup)>("WSACleanup");
    return cleanup ? cleanup() : SOCKET_ERROR;
  };
  api.getHostByName = [](const char* name) {
    static const auto getHostByName = Wsock32<decltype(&gethostbyname)>("gethostbyname");
    return getHostByName ? getHostByName(name) : nullptr;
  };
  return api;
}

}  // namespace

WinsockApi& winsock() {
  static WinsockApi instance = RealWinsock();
  return instance;
}
