// The server connection and the sink couplers against the real stand-in service.
#include <gtest/gtest.h>

#include <stdexcept>

#include "GenericSinkCoupler.h"
#include "ScanWrapper.h"
#include "ServiceLinkFixture.h"
#include "ServiceWrapper.h"
#include "TempFolder.h"
#include "TestWindow.h"

namespace twktest {
namespace {

constexpr wchar_t kSync[] = L"CServerConnection::SynchronizeOurConnectionState";

struct ScanImpl : ISBScanControlEventsSinkImpl {
  std::vector<long> states;
  bool throwOnState = false;
  void ScanProgressStateCBImpl(long state, long) override {
    states.push_back(state);
    if (throwOnState) throw std::runtime_error("page failed");
  }
  void ScanProgressDetailsCBImpl(long, BSTR, long, long, long, long, long, long) override {}
  void CleanerProgressCBImpl(long, long, long, BSTR, long) override {}
  void ScanControlConfigChangeCBImpl() override {}
  bool Has(long state) const { return std::find(states.begin(), states.end(), state) != states.end(); }
};

TEST_F(ServiceLinkTest, ServiceAbsentAtStartUpLeavesTheConnectionDown) {
  ASSERT_TRUE(EngineStandIn::Stop());
  MakeInstance();
  RecordingObserver observer;
  ASSERT_TRUE(CServerConnection::SubscribeStateChanges(&observer));
  CServerConnection::SynchronizeConnectionState(false);
  EXPECT_FALSE(connection_->IsConnected());
  EXPECT_FALSE(CServerConnection::ISBServiceInterface());
  EXPECT_TRUE(observer.heard.empty());
  EXPECT_TRUE(connection_->ComInitialised());
  EXPECT_EQ(1, log_->Count(L"CServerConnectionInstance::CServerConnectionInstance",
                           L"CoInitializeEx(0, COINIT_APARTMENTTHREADED) returned hr=0x00000001."));
  EXPECT_EQ(1, log_->Count(L"CServerConnection::Connect", L"CreateInstance(CLSID_SBService) returned 0x80040154"))
      << log_->Dump();
  EXPECT_EQ(0, log_->Count(L"CServerConnection::Connect", L"CreateInstance(CLSID_SBScanControl) returned 0x80040154"));
  for (auto& r : log_->Records()) EXPECT_EQ(kTestSystem, r.system);
}

TEST_F(ServiceLinkTest, PollTickThatSeesTheServiceConnectsAndTellsObserversOnce) {
  ASSERT_TRUE(EngineStandIn::Stop());
  MakeInstance();
  RecordingObserver first, second;
  CServerConnection::SubscribeStateChanges(&first);
  CServerConnection::SubscribeStateChanges(&second);
  EXPECT_TRUE(CServerConnection::OnPresencePollTimer(kPresencePollTimerId));  // remembers: absent
  EXPECT_FALSE(CServerConnection::OnPresencePollTimer(42));                  // not ours
  ASSERT_TRUE(EngineStandIn::Start());
  CServerConnection::OnPresencePollTimer(kPresencePollTimerId);
  CServerConnection::OnPresencePollTimer(kPresencePollTimerId);
  EXPECT_EQ(std::vector<bool>{true}, first.heard);
  EXPECT_EQ(std::vector<bool>{true}, second.heard);
  EXPECT_TRUE(connection_->IsConnected());
  EXPECT_EQ(1, log_->Count(kSync, L"Our connection to the RORO service is now alive.  Tell observers about the transition."));
}

TEST_F(ServiceLinkTest, ServiceStoppedWhileConnectedIsReportedByTheNextTickOnce) {
  MakeInstance();
  ASSERT_TRUE(connection_->IsConnected());
  RecordingObserver observer;
  CServerConnection::SubscribeStateChanges(&observer);
  CServerConnection::OnPresencePollTimer(kPresencePollTimerId);  // remembers: present
  ASSERT_TRUE(EngineStandIn::Stop());
  CServerConnection::OnPresencePollTimer(kPresencePollTimerId);
  CServerConnection::OnPresencePollTimer(kPresencePollTimerId);
  EXPECT_EQ(std::vector<bool>{false}, observer.heard);
  EXPECT_FALSE(CServerConnection::ISBScanControlInterface());
  EXPECT_EQ(1, log_->Count(L"CServerConnection::Disconnect", L"Released ISBThreatDefinitions"));
}

TEST_F(ServiceLinkTest, WrapperCallFindsAStoppedServiceItself) {
  MakeInstance();
  RecordingObserver observer;
  CServerConnection::SubscribeStateChanges(&observer);
  ASSERT_TRUE(EngineStandIn::Stop());
  EXPECT_FALSE(CScanWrapper::PauseScan());
  EXPECT_EQ(std::vector<bool>{false}, observer.heard);
  EXPECT_EQ(1, log_->Count(L"CScanWrapper::PauseScan", L"There is no connection to the RORO service."));
  EXPECT_EQ(1, log_->Count(kSync,
                           L"The connection to the RORO service has failed.  Disconnect the smart pointers and tell "
                           L"observers about the transition."));
}

// A service event that exists while the service does not answer: the event of a
// process of our own.
class FakeServiceEvent {
 public:
  FakeServiceEvent() : event_(CreateEventW(nullptr, TRUE, FALSE, kServiceExistsEventName)) {}
  ~FakeServiceEvent() { CloseHandle(event_); }

 private:
  HANDLE event_;
};

TEST_F(ServiceLinkTest, DeadServiceBehindAPresentEventEndsDisconnected) {
  MakeInstance();
  RecordingObserver observer;
  CServerConnection::SubscribeStateChanges(&observer);
  ASSERT_TRUE(EngineStandIn::Kill());
  const wchar_t* tryLine = L"The connection to the RORO service is NOT alive, but the service is alive.  Try to connect.";
  int tries = log_->Count(kSync, tryLine);
  {
    FakeServiceEvent event;
    CServerConnection::SynchronizeConnectionState(false);
  }
  EXPECT_EQ(std::vector<bool>{false}, observer.heard);
  EXPECT_FALSE(connection_->IsConnected());
  EXPECT_EQ(tries + 1, log_->Count(kSync, tryLine));
}

TEST_F(ServiceLinkTest, RestartedServiceIsReconnectedInTheSameCallAndObserversHearOnlyTrue) {
  MakeInstance();
  RecordingObserver observer;
  CServerConnection::SubscribeStateChanges(&observer);
  ASSERT_TRUE(EngineStandIn::Kill());
  ASSERT_TRUE(EngineStandIn::Start());
  CServerConnection::SynchronizeConnectionState(false);
  EXPECT_EQ(std::vector<bool>{true}, observer.heard);
  EXPECT_TRUE(connection_->IsConnectionAlive());
}

TEST_F(ServiceLinkTest, KilledServiceFailsAWrapperCallAndARestartReachesTheSameImplThroughANewDelegate) {
  TempFolder planted;
  ASSERT_TRUE(EngineStandIn::Plant(planted.Path()));
  EngineStandIn::SetValue(L"ExtraScanRoot", planted.Path());
  MakeInstance();
  ScanImpl impl;
  CSBScanControlEventsSinkCoupler coupler;
  ASSERT_TRUE(coupler.Advise(&impl));
  twk::CComPtr<CSBScanControlEventsSinkDelegate> before(coupler.Delegate());
  ASSERT_TRUE(EngineStandIn::Kill());
  EXPECT_FALSE(CScanWrapper::AbortScan());
  EXPECT_EQ(nullptr, coupler.Delegate());
  EXPECT_EQ(nullptr, before->GetImpl());  // the old delegate drops late callbacks

  ASSERT_TRUE(EngineStandIn::Start());
  ASSERT_TRUE(CScanWrapper::StartScan(0));  // forced synchronisation reconnects first
  ASSERT_TRUE(coupler.Delegate());
  EXPECT_NE(before.get(), coupler.Delegate());
  EXPECT_EQ(&impl, coupler.Delegate()->GetImpl());
  EXPECT_TRUE(PumpUntil([&] { return impl.Has(107); }, 10000));
  EXPECT_EQ(1, impl.states.front());
  EXPECT_EQ(1, log_->Count(L"CScanWrapper::StartScan", L"Calling Scan(\"0\")."));
  EXPECT_EQ(1, log_->Count(L"CScanWrapper::StartScan", L"Scan(\"0\") returned 0x00000000."));
}

TEST_F(ServiceLinkTest, ThrowingImplementationIsLoggedOnceAndTheServiceSeesSuccess) {
  TempFolder planted;
  ASSERT_TRUE(EngineStandIn::Plant(planted.Path()));
  EngineStandIn::SetValue(L"ExtraScanRoot", planted.Path());
  MakeInstance();
  ScanImpl impl;
  impl.throwOnState = true;
  CSBScanControlEventsSinkCoupler coupler;
  ASSERT_TRUE(coupler.Advise(&impl));
  EXPECT_EQ(S_OK, coupler.Delegate()->ScanProgressStateCB(1, 0));
  EXPECT_EQ(1, log_->Count(L"CSBScanControlEventsSinkDelegate::raw_ScanProgressStateCB",
                           L"Caught an exception in the sink."));
  ASSERT_TRUE(CScanWrapper::StartScan(0));
  EXPECT_TRUE(PumpUntil([&] { return impl.Has(107); }, 10000));  // the scan went on
  for (auto& r : log_->Records())
    if (r.context == L"CSBScanControlEventsSinkDelegate::raw_ScanProgressStateCB") {
      EXPECT_EQ(Tag(LOG_ERROR), r.type);
    }
}

TEST_F(ServiceLinkTest, ObserverSubscribedTwiceHearsTwiceAndOneUnsubscribeRemovesBoth) {
  ASSERT_TRUE(EngineStandIn::Stop());
  MakeInstance();
  RecordingObserver observer;
  EXPECT_TRUE(CServerConnection::SubscribeStateChanges(&observer));
  EXPECT_TRUE(CServerConnection::SubscribeStateChanges(&observer));
  EXPECT_FALSE(CServerConnection::SubscribeStateChanges(nullptr));
  ASSERT_TRUE(EngineStandIn::Start());
  CServerConnection::SynchronizeConnectionState(false);
  EXPECT_EQ((std::vector<bool>{true, true}), observer.heard);
  EXPECT_TRUE(CServerConnection::UnsubscribeStateChanges(&observer));
  ASSERT_TRUE(EngineStandIn::Stop());
  CServerConnection::SynchronizeConnectionState(false);
  EXPECT_EQ(2u, observer.heard.size());
}

TEST_F(ServiceLinkTest, StaticOperationsWithoutInstanceLogAndAccessorsThrow) {
  RecordingObserver observer;
  CServerConnection::SynchronizeConnectionState(true);
  EXPECT_FALSE(CServerConnection::SubscribeStateChanges(&observer));
  EXPECT_FALSE(CServerConnection::UnsubscribeStateChanges(&observer));
  EXPECT_THROW(CServerConnection::ISBServiceInterface(), CServerConnectionException);
  EXPECT_THROW(CServerConnection::ISBScanControlInterface(), CServerConnectionException);
  EXPECT_THROW(CServerConnection::ISBThreatDefinitionsInterface(), CServerConnectionException);
  EXPECT_THROW(CServerConnection::ISBSoftwareUpdatesInterface(), CServerConnectionException);
  const wchar_t* contexts[] = {L"CServerConnection::SynchronizeConnectionState", L"CServerConnection::SubscribeStateChanges",
                               L"CServerConnection::UnsubscribeStateChanges", L"CServerConnection::ISBServiceInterface",
                               L"CServerConnection::ISBScanControlInterface",
                               L"CServerConnection::ISBThreatDefinitionsInterface",
                               L"CServerConnection::ISBSoftwareUpdatesInterface"};
  for (auto* context : contexts)
    EXPECT_EQ(1, log_->Count(context, L"Failed to get the ServerConnection instance.")) << context;
  // A wrapper without instance: the accessor's line, then its own exception message.
  EXPECT_FALSE(CScanWrapper::PauseScan());
  EXPECT_EQ(1, log_->Count(L"CScanWrapper::PauseScan", L"Caught an exception while calling Pause()."));
}

TEST_F(ServiceLinkTest, CouplerUnadviseAndDestructionLeaveNoSinkAlive) {
  MakeInstance();
  long before = CServerConnection::LiveSinkObjects();
  ScanImpl impl;
  {
    CSBScanControlEventsSinkCoupler coupler;
    coupler.OnNotifyStateChange(true);  // no implementation yet: nothing happens
    EXPECT_EQ(nullptr, coupler.Delegate());
    ASSERT_TRUE(coupler.Advise(&impl));
    EXPECT_NE(0u, coupler.Cookie());
    EXPECT_EQ(before + 1, CServerConnection::LiveSinkObjects());
    EXPECT_TRUE(coupler.Unadvise());
    EXPECT_EQ(0u, coupler.Cookie());
    EXPECT_FALSE(coupler.Unadvise());  // nothing advised any more
    ASSERT_TRUE(coupler.Advise());     // again with the stored implementation
  }
  EXPECT_TRUE(PumpUntil([&] { return CServerConnection::LiveSinkObjects() == before; }, 5000));
  std::wstring prefix = CSBScanControlEventsSinkCoupler::Context(L"");
  EXPECT_EQ(1, log_->Count(prefix + L"::Advise", L"Successfully subscribed to ServerConnection state changes."));
  EXPECT_EQ(1, log_->Count(prefix + L"::~TGenericSinkCoupler",
                           L"Successfully unsubscribed from ServerConnection state changes."));
}

TEST_F(ServiceLinkTest, CouplerWithoutConnectionDoesNotAdvise) {
  ASSERT_TRUE(EngineStandIn::Stop());
  MakeInstance();
  ScanImpl impl;
  CSBScanControlEventsSinkCoupler coupler;
  EXPECT_FALSE(coupler.Advise(&impl));
  EXPECT_EQ(1, log_->Count(CSBScanControlEventsSinkCoupler::Context(L"::Advise"),
                           L"There is no connection to the RORO service.  Not advising."));
  // When the service comes, the coupler advises itself.
  ASSERT_TRUE(EngineStandIn::Start());
  CServerConnection::SynchronizeConnectionState(false);
  EXPECT_TRUE(coupler.Delegate());
}

TEST_F(ServiceLinkTest, ServiceStateLogNamesTheStates) {
  struct Case { long state; const wchar_t* line; };
  const Case cases[] = {{0, L"The service state has changed to Stopping."},
                        {1, L"The service state has changed to Suspended."},
                        {2, L"The service state has changed to Resumed."},
                        {4, L"The service state has changed to Restart."},
                        {7, L"The service state has changed to (unknown state)."}};
  for (const auto& c : cases) LogServiceStateChange(L"CTarnwickView::ServiceStateCBImpl", c.state);
  LogServiceStateChange(L"CTarnwickView::ServiceStateCBImpl", 3);
  EXPECT_EQ(5, log_->Count(L"CTarnwickView::ServiceStateCBImpl"));
  for (const auto& c : cases) EXPECT_EQ(1, log_->Count(L"CTarnwickView::ServiceStateCBImpl", c.line)) << c.line;
}

}  // namespace
}  // namespace twktest
