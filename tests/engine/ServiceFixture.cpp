#include "ServiceFixture.h"

#include "FileBytes.h"

namespace twktest {

namespace {

class StopServiceAtEnd : public testing::Environment {
 public:
  void TearDown() override {
    if (EngineStandIn::Running()) EngineStandIn::Stop();
  }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new StopServiceAtEnd);

}  // namespace

void ServiceFixture::SetUp() {
  if (!EngineStandIn::Running()) ASSERT_TRUE(EngineStandIn::Start());
}

void ServiceFixture::TearDown() {}

std::wstring ServiceFixture::ReadText(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return L"";
  std::string data(1 << 20, '\0');
  DWORD read = 0;
  ReadFile(h, data.data(), DWORD(data.size()), &read, nullptr);
  CloseHandle(h);
  data.resize(read);
  int n = MultiByteToWideChar(CP_UTF8, 0, data.data(), int(data.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, data.data(), int(data.size()), out.data(), n);
  return out;
}

}  // namespace twktest
