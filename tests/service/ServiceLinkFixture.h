#pragma once
// A connection instance of the test program against the stand-in service, with the
// log captured.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ClientLogFile.h"
#include "EngineStandIn.h"
#include "LogCapture.h"
#include "ServerConnection.h"

namespace twktest {

inline constexpr wchar_t kTestSystem[] = L"ServiceLinkTest";

struct RecordingObserver : IServerConnectionStateChange {
  std::vector<bool> heard;
  void OnNotifyStateChange(bool connected) override { heard.push_back(connected); }
};

class ServiceLinkTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Makes the connection instance (the service as the test left it).
  void MakeInstance();
  static std::wstring Tag(int level) { return CClientLogFile::LevelTag(level); }

  EngineValuesGuard values_;
  std::unique_ptr<LogCapture> log_;
  std::unique_ptr<CServerConnectionInstance> connection_;
};

}  // namespace twktest
