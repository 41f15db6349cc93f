#include "ServiceLinkFixture.h"

#include "TestWindow.h"

namespace twktest {

void ServiceLinkTest::SetUp() {
  ASSERT_TRUE(EngineStandIn::EnsureRunning());
  CServerConnection::ResetRememberedPresence();
  log_ = std::make_unique<LogCapture>();
}

void ServiceLinkTest::MakeInstance() { connection_ = std::make_unique<CServerConnectionInstance>(kTestSystem); }

void ServiceLinkTest::TearDown() {
  connection_.reset();
  log_.reset();
  if (!EngineStandIn::Running()) EngineStandIn::Start();
}

}  // namespace twktest
