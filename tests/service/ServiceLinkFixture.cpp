#include "ServiceLinkFixture.h"

#include "TestWindow.h"

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

void ServiceLinkTest::SetUp() {
  if (!EngineStandIn::Running()) ASSERT_TRUE(EngineStandIn::Start());
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
