#pragma once
// A one-file HTTP server on 127.0.0.1 for download tests. Serves body to every GET, in
// chunks with a pause between them, with an "X-Definitions-Version" header.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace twktest {

class LocalHttpServer {
 public:
  LocalHttpServer(std::string body, unsigned long version, int chunkBytes, int pauseMs);
  ~LocalHttpServer();
  std::wstring Url() const;  // http://127.0.0.1:<port>/defs.xml
  int Requests() const { return requests_; }
  std::string LastRequestLine() const {
    std::lock_guard<std::mutex> guard(lock_);
    return lastRequestLine_;
  }

 private:
  void Serve();
  std::string body_;
  unsigned long version_;
  int chunkBytes_, pauseMs_;
  unsigned long long listener_ = ~0ull;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  mutable std::mutex lock_;
  std::string lastRequestLine_;
  std::thread thread_;
};

}  // namespace twktest
