// The service wrappers against the real stand-in service.
#include <gtest/gtest.h>

#include "BStr.h"
#include "ClientLog.h"
#include "EngineLibrary.h"
#include "ScanWrapper.h"
#include "ServiceLinkFixture.h"
#include "ServiceWrapper.h"
#include "TempFolder.h"
#include "ThreatDefinitionsWrapper.h"

namespace twktest {
namespace {

class WrapperTest : public ServiceLinkTest {
 protected:
  void SetUp() override {
    ServiceLinkTest::SetUp();
    MakeInstance();
    ASSERT_TRUE(connection_->IsConnected());
    scan_ = CServerConnection::ISBScanControlInterface();
    ASSERT_EQ(S_OK, scan_->GetScanProperties(savedSettings_.put()));
  }
  void TearDown() override {
    if (scan_) scan_->SetScanProperties(savedSettings_.get());
    scan_ = nullptr;
    ServiceLinkTest::TearDown();
  }
  // The settings text the service holds now.
  std::wstring ServiceScanSettings() {
    twk::CBStr xml;
    EXPECT_EQ(S_OK, scan_->GetScanProperties(xml.put()));
    return xml.str();
  }
  void SetServiceScanSettings(const std::wstring& xml) {
    ASSERT_EQ(S_OK, scan_->SetScanProperties(twk::CBStr(xml).get()));
  }
  // Options 1..20 of the stored profile for kind as "0", "1", "-".
  std::string StoredProfile(long kind) {
    auto settings = CScanWrapper::GetScanProperties();
    if (!settings) return "no settings";
    auto profiles = twk::CComPtr<IDDZScanProfileList>::Attach(settings->Profiles());
    auto profile = twk::CComPtr<IDDZScanProfile>::Attach(profiles->Find(kind));
    if (!profile) return "no profile";
    std::string out;
    for (long n = 1; n <= 20; ++n) {
      long v = profile->Option(n);
      out += v < 0 ? '-' : char('0' + v);
    }
    return out;
  }

  twk::CComPtr<ISBScanControl> scan_;
  twk::CBStr savedSettings_;
};

TEST_F(WrapperTest, ScanProfilesForTheThreeKindsReadBackAsTheTableSays) {
  SetServiceScanSettings(L"");
  SetServiceScanSettings(L"<threatEngineSettings/>");
  CScanWrapper::ConfigureScanSettings(0);
  CScanWrapper::ConfigureScanSettings(1);
  CustomScanSelection custom;
  custom.processes = true;
  custom.registry = false;
  custom.cookies = true;
  custom.filesAndFolders = true;
  CScanWrapper::ConfigureScanSettings(2, custom);
  EXPECT_EQ("0111010100100-10000-", StoredProfile(0));
  EXPECT_EQ("1011110100101-10100-", StoredProfile(1));
  EXPECT_EQ("10111001000011101000", StoredProfile(2));
  auto settings = CScanWrapper::GetScanProperties();
  ASSERT_TRUE(settings);
  EXPECT_EQ(0, settings->GeneralOption(1));
  EXPECT_EQ(1, settings->GeneralOption(2));
  EXPECT_EQ(1, settings->GeneralOption(3));
  // Configuring again changes the profile in place.
  custom.filesAndFolders = false;
  custom.registry = true;
  CScanWrapper::ConfigureScanSettings(2, custom);
  EXPECT_EQ("00111101000011000000", StoredProfile(2));
  auto again = CScanWrapper::GetScanProperties();
  EXPECT_EQ(3, twk::CComPtr<IDDZScanProfileList>::Attach(again->Profiles())->Count());
}

TEST_F(WrapperTest, CustomScanLocationsFollowTheFolderAndTypeLists) {
  TempFolder existing;
  CustomScanSelection custom;
  custom.filesAndFolders = true;
  custom.foldersLoaded = true;
  custom.folders = {existing.Path() + L"  ", L"C:\\no such folder\\file.doc"};
  custom.fileTypes = {L".mp3 ", L"tar.gz"};
  custom.fileTypesLoaded = true;
  CScanWrapper::ConfigureScanSettings(2, custom);
  auto settings = CScanWrapper::GetScanProperties();
  ASSERT_TRUE(settings);
  auto locations = twk::CComPtr<IDDZScanLocationList>::Attach(settings->Locations());
  ASSERT_EQ(4, locations->Count());
  struct Expected { std::wstring path; long kind; };
  const Expected expected[] = {{existing.Path(), 6}, {L"C:\\no such folder\\file.doc", 2}, {L"*mp3", 5}, {L"*targz", 5}};
  for (long i = 0; i < 4; ++i) {
    auto l = twk::CComPtr<IDDZScanLocation>::Attach(locations->Item(i));
    EXPECT_EQ(expected[i].path, twk::CBStr::Attach(l->Path()).str());
    EXPECT_EQ(4, l->Type());
    EXPECT_EQ(1, l->Recursion());
    EXPECT_EQ(expected[i].kind, l->Kind());
    EXPECT_EQ(0, l->Final());
  }
  // Files and folders not chosen: the list is emptied and stays empty.
  custom.filesAndFolders = false;
  CScanWrapper::ConfigureScanSettings(2, custom);
  auto after = CScanWrapper::GetScanProperties();
  EXPECT_EQ(0, twk::CComPtr<IDDZScanLocationList>::Attach(after->Locations())->Count());
}

TEST_F(WrapperTest, EmptyScanSettingsGiveNoneAndConfigureDoesNothing) {
  SetServiceScanSettings(L"");
  EXPECT_FALSE(CScanWrapper::GetScanProperties());
  CScanWrapper::ConfigureScanSettings(0);
  EXPECT_EQ(L"", ServiceScanSettings());
  EXPECT_FALSE(CScanWrapper::SetScanProperties(nullptr));
}

TEST_F(WrapperTest, FactoryErrorGivesNoneAndLeavesTheConnectionAlone) {
  SetServiceScanSettings(L"this is no settings text");
  ISBScanControl* before = CServerConnection::ISBScanControlInterface().get();
  EXPECT_FALSE(CScanWrapper::GetScanProperties());
  EXPECT_TRUE(connection_->IsConnected());
  EXPECT_EQ(before, CServerConnection::ISBScanControlInterface().get());
}

TEST_F(WrapperTest, ServiceStateWithoutConnectionIsTrueAndLeavesTheValue) {
  long state = 12345;
  EXPECT_TRUE(CServiceWrapper::GetServiceState(state));
  EXPECT_EQ(2, state);
  EXPECT_EQ(1, log_->Count(L"CServiceWrapper::GetServiceState", L"GetServiceState() returned hr = 0x00000000, state = 0x00000002"));
  ASSERT_TRUE(EngineStandIn::Stop());
  scan_ = nullptr;
  state = 12345;
  EXPECT_TRUE(CServiceWrapper::GetServiceState(state));
  EXPECT_EQ(12345, state);
  EXPECT_EQ(1, log_->Count(L"CServiceWrapper::GetServiceState", L"There is no connection to the RORO service."));
}

TEST_F(WrapperTest, CompanyAndProductAreTold) {
  EXPECT_TRUE(CServiceWrapper::SetCompanyProduct());
  EXPECT_EQ(1, log_->Count(L"CServiceWrapper::SetCompanyProduct", L"Obtained Service"));
  EXPECT_EQ(1, log_->Count(L"CServiceWrapper::SetCompanyProduct",
                           L"SetCompanyProduct(\"Corvanta VuruDazadud\") returned 0x00000000."));
}

TEST_F(WrapperTest, ScanControlCallsLogWhatTheyDo) {
  TempFolder planted;
  ASSERT_TRUE(EngineStandIn::Plant(planted.Path()));
  EngineStandIn::SetValue(L"ExtraScanRoot", planted.Path());
  EXPECT_TRUE(CScanWrapper::PurgeHistory());
  EXPECT_TRUE(CScanWrapper::GetLastScanResultsPath().empty());
  EngineStandIn::SetNumber(L"ScanItemDelayMs", 5);
  ASSERT_TRUE(CScanWrapper::StartScan(0));
  EXPECT_TRUE(CScanWrapper::PauseScan());
  unsigned long state = 0;
  bool reboot = true;
  EXPECT_TRUE(CScanWrapper::GetScanState(state, reboot));
  EXPECT_EQ(7u, state);
  EXPECT_FALSE(reboot);
  EXPECT_TRUE(CScanWrapper::ResumeScan());
  EXPECT_TRUE(CScanWrapper::AbortScan());
  EXPECT_FALSE(CScanWrapper::StartScan(9));  // refused: logged as a failure
  EXPECT_FALSE(CScanWrapper::PerformClean(L""));
  EXPECT_FALSE(CScanWrapper::PerformClean(planted / L"missing.xml"));
  unsigned long c[11];
  EXPECT_TRUE(CScanWrapper::GetScanCounts(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10]));
  struct Line { const wchar_t* context; const wchar_t* message; };
  const Line lines[] = {
      {L"CScanWrapper::PurgeHistory", L"Calling PurgeHistory."},
      {L"CScanWrapper::PurgeHistory", L"PurgeHistory() returned 0x00000000."},
      {L"CScanWrapper::PauseScan", L"Calling Pause()."},
      {L"CScanWrapper::PauseScan", L"Pause() returned 0x00000000."},
      {L"CScanWrapper::ResumeScan", L"Resume() returned 0x00000000."},
      {L"CScanWrapper::AbortScan", L"Abort() returned 0x00000000."},
      {L"CScanWrapper::GetScanState", L"GetScanState() returned hr = 0x00000000, state = 7, and reboot required = 0"},
      {L"CScanWrapper::StartScan", L"Calling Scan(\"9\")."},
      {L"CScanWrapper::StartScan", L"Caught an exception while calling Scan()."},
      {L"CScanWrapper::PerformClean", L"An exception was caught calling ISBScanControlPtr::Clean()"},
  };
  for (const auto& l : lines) EXPECT_EQ(1, log_->Count(l.context, l.message)) << l.message << "\n" << log_->Dump();
  EXPECT_EQ(0, log_->Count(L"CScanWrapper::StartScan", L"Scan(\"9\") returned 0x80070057."));
}

TEST_F(WrapperTest, LocalDefinitionVersionIsGivenAsText) {
  std::wstring version = L"x", date = L"x";
  EXPECT_TRUE(CThreatDefinitionsWrapper::GetLocalDefVersion(version, date));
  EXPECT_NE(L"0", version);
  EXPECT_FALSE(date.empty());
  ASSERT_TRUE(EngineStandIn::Stop());
  scan_ = nullptr;
  EXPECT_FALSE(CThreatDefinitionsWrapper::GetLocalDefVersion(version, date));
  EXPECT_EQ(L"0", version);
  EXPECT_TRUE(date.empty());
}

TEST_F(WrapperTest, UpdateSettingsAndProxyReachTheService) {
  auto defs = CThreatDefinitionsWrapper::GetDefsProperties();
  ASSERT_TRUE(defs);
  defs->SetGeneralOption(1, FALSE);
  twk::CComPtr<IDDZUpdateServer>::Attach(defs->UpdateServer())->SetNumber(411);
  EXPECT_TRUE(CThreatDefinitionsWrapper::SetDefsProperties(defs.get()));
  auto back = CThreatDefinitionsWrapper::GetDefsProperties();
  ASSERT_TRUE(back);
  EXPECT_EQ(411, twk::CComPtr<IDDZUpdateServer>::Attach(back->UpdateServer())->Number());

  auto service = CThreatDefinitionsWrapper::GetServiceProperties();
  ASSERT_TRUE(service);
  auto proxy = twk::CComPtr<IDDZProxySettings>::Attach(service->Proxy());
  proxy->SetEnabled(FALSE);
  proxy->SetServer(L"");
  EXPECT_TRUE(CThreatDefinitionsWrapper::SetServiceProperties(service.get()));
  auto soft = CThreatDefinitionsWrapper::GetSoftwareUpdateProperties();
  ASSERT_TRUE(soft);
  EXPECT_TRUE(CThreatDefinitionsWrapper::SetSoftwareUpdateProperties(soft.get()));
  EXPECT_FALSE(CThreatDefinitionsWrapper::SetDefsProperties(nullptr));
  EXPECT_FALSE(CThreatDefinitionsWrapper::SetServiceProperties(nullptr));
  EXPECT_FALSE(CThreatDefinitionsWrapper::SetSoftwareUpdateProperties(nullptr));
}

TEST_F(WrapperTest, UpdateRequestMakesTheDownloadsFolderAndCancelIsHarmless) {
  EngineStandIn::SetValue(L"UpdateAddress", L"http://127.0.0.1:1/defs.xml");
  CThreatDefinitionsWrapper::GetThreatDefUpdatesNow(false);
  DWORD attributes = GetFileAttributesW(CThreatDefinitionsWrapper::DownloadsFolder().c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  CThreatDefinitionsWrapper::CancelThreatDefUpdates();
  EXPECT_EQ(0, log_->CountLevel(Tag(LOG_ERROR))) << log_->Dump();
}

}  // namespace
}  // namespace twktest
