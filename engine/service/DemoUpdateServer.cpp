#include "DemoUpdateServer.h"

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "EngineConfig.h"

namespace engine {

namespace {

std::thread g_thread;
SOCKET g_listener = INVALID_SOCKET;
std::atomic<bool> g_stop{false};

std::string ReadAll(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string data(1 << 20, '\0');
  DWORD read = 0;
  ReadFile(h, data.data(), DWORD(data.size()), &read, nullptr);
  CloseHandle(h);
  data.resize(read);
  return data;
}

// The installed definitions with the next version and today's date.
std::string NextDefinitions(unsigned long& version) {
  std::string text = ReadAll(InstalledDefinitionsPath());
  std::size_t root = text.find("<definitions");
  std::size_t at = text.find("version=\"", root);
  if (root == std::string::npos || at == std::string::npos) return {};
  std::size_t end = text.find('"', at + 9);
  version = std::stoul(text.substr(at + 9, end - at - 9)) + 1;
  text = text.substr(0, at + 9) + std::to_string(version) + text.substr(end);
  std::size_t date = text.find("date=\"", root);
  if (date != std::string::npos) {
    std::size_t dateEnd = text.find('"', date + 6);
    SYSTEMTIME t;
    GetLocalTime(&t);
    char buf[16];
    wsprintfA(buf, "%02u/%02u/%04u", t.wMonth, t.wDay, t.wYear);
    text = text.substr(0, date + 6) + buf + text.substr(dateEnd);
  }
  return text;
}

void Serve() {
  while (!g_stop) {
    SOCKET c = accept(g_listener, nullptr, nullptr);
    if (c == INVALID_SOCKET) return;
    std::string request;
    char buf[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
      int n = recv(c, buf, sizeof(buf), 0);
      if (n <= 0) break;
      request.append(buf, n);
    }
    unsigned long version = 0;
    std::string body = NextDefinitions(version);
    std::string head = body.empty() ? "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"
                                    : "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n"
                                      "Content-Length: " + std::to_string(body.size()) +
                                          "\r\nX-Definitions-Version: " + std::to_string(version) + "\r\n\r\n";
    bool ok = send(c, head.data(), int(head.size()), 0) > 0;
    for (std::size_t at = 0; ok && at < body.size() && !g_stop; at += 256) {
      int n = int(std::min<std::size_t>(256, body.size() - at));
      ok = send(c, body.data() + at, n, 0) == n;
      Sleep(60);
    }
    shutdown(c, SD_SEND);
    closesocket(c);
  }
}

}  // namespace

void StartDemoUpdateServer() {
  DWORD port = ReadMachineDword(kStandInKey, L"DemoUpdatePort", 0);
  if (port == 0 || port > 65535) return;
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return;
  g_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(u_short(port));
  if (g_listener == INVALID_SOCKET || bind(g_listener, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
      listen(g_listener, 4) != 0) {
    if (g_listener != INVALID_SOCKET) closesocket(g_listener);
    g_listener = INVALID_SOCKET;
    return;
  }
  g_stop = false;
  g_thread = std::thread(Serve);
}

void StopDemoUpdateServer() {
  if (g_listener == INVALID_SOCKET) return;
  g_stop = true;
  closesocket(g_listener);
  g_listener = INVALID_SOCKET;
  if (g_thread.joinable()) g_thread.join();
  WSACleanup();
}

}  // namespace engine
