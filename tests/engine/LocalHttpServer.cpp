#include "LocalHttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace twktest {

LocalHttpServer::LocalHttpServer(std::string body, unsigned long version, int chunkBytes, int pauseMs)
    : body_(std::move(body)), version_(version), chunkBytes_(chunkBytes), pauseMs_(pauseMs) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
  listen(s, 4);
  int len = sizeof(addr);
  getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  listener_ = s;
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stop_ = true;
  closesocket(SOCKET(listener_));
  if (thread_.joinable()) thread_.join();
  WSACleanup();
}

std::wstring LocalHttpServer::Url() const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/defs.xml";
}

void LocalHttpServer::Serve() {
  while (!stop_) {
    SOCKET c = accept(SOCKET(listener_), nullptr, nullptr);
    if (c == INVALID_SOCKET) return;
    std::string request;
    char buf[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
      int n = recv(c, buf, sizeof(buf), 0);
      if (n <= 0) break;
      request.append(buf, n);
    }
    {
      std::lock_guard<std::mutex> guard(lock_);
      lastRequestLine_ = request.substr(0, request.find("\r\n"));
    }
    ++requests_;
    std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\nContent-Length: " +
                       std::to_string(body_.size()) + "\r\nX-Definitions-Version: " +
                       std::to_string(version_) + "\r\n\r\n";
    bool ok = send(c, head.data(), int(head.size()), 0) > 0;
    for (std::size_t at = 0; ok && at < body_.size() && !stop_; at += chunkBytes_) {
      int n = int(std::min<std::size_t>(chunkBytes_, body_.size() - at));
      ok = send(c, body_.data() + at, n, 0) == n;
      if (pauseMs_ > 0) Sleep(pauseMs_);
    }
    shutdown(c, SD_SEND);
    closesocket(c);
  }
}

}  // namespace twktest
