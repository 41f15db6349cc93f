#include "ServiceFixture.h"

#include "FileBytes.h"

namespace twktest {

void ServiceFixture::SetUp() {
  ASSERT_TRUE(EngineStandIn::EnsureRunning());
}

void ServiceFixture::TearDown() {}

std::wstring ServiceFixture::ReadText(const std::wstring& path) {
  const std::string data = ReadFileBytes(path);
  const int n = MultiByteToWideChar(CP_UTF8, 0, data.data(), int(data.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, data.data(), int(data.size()), out.data(), n);
  return out;
}

}  // namespace twktest
