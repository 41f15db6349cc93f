// The stand-in RORO service, driven from this separate client process.
#include <gtest/gtest.h>

#include <algorithm>

#include "BStr.h"
#include "ChildProcess.h"
#include "FileBytes.h"
#include "LocalHttpServer.h"
#include "RecordingSink.h"
#include "ScratchRegKey.h"
#include "ServiceFixture.h"
#include "TempFolder.h"
#include "TestWindow.h"

using twk::CBStr;
using twk::CComPtr;

namespace twktest {
namespace {

class RoroServiceTest : public ServiceFixture {};

TEST_F(RoroServiceTest, CreatesTheFourObjectsByClassIdWithTheirInterfaces) {
  auto service = Create<ISBService>(CLSID_SBService);
  auto scan = Create<ISBScanControl>(CLSID_SBScanControl);
  auto defs = Create<ISBThreatDefinitions>(CLSID_SBThreatDefinitions);
  auto updates = Create<ISBSoftwareUpdates>(CLSID_SBSoftwareUpdates);
  ASSERT_TRUE(service && scan && defs && updates);
  long state = -1;
  EXPECT_EQ(S_OK, service->GetServiceState(&state));
  EXPECT_EQ(S_OK, service->SetCompanyProduct(CBStr(L"Corvanta").get(), CBStr(L"VuruDazadud").get()));
  CBStr xml;
  EXPECT_EQ(S_OK, updates->GetSoftwareUpdateProperties(xml.put()));
  EXPECT_NE(std::wstring::npos, xml.str().find(L"softwareUpdateSettings"));
}

TEST_F(RoroServiceTest, OffersConnectionPointsForTheThreeEventInterfaces) {
  RecordingSink sink;
  struct Case { REFCLSID clsid; REFIID events; };
  const Case cases[] = {{CLSID_SBService, IID__ISBServiceEvents},
                        {CLSID_SBScanControl, IID__ISBScanControlEvents},
                        {CLSID_SBThreatDefinitions, IID__ISBThreatDefinitionsEvents}};
  for (const auto& c : cases) {
    CComPtr<IUnknown> object;
    ASSERT_EQ(S_OK, CoCreateInstance(c.clsid, nullptr, CLSCTX_ALL, IID_IUnknown, object.put_void()));
    Advised advised(object.get(), c.events, static_cast<_ISBServiceEvents*>(&sink));
    EXPECT_EQ(S_OK, advised.Result());
  }
  // No connection point for an interface the object does not raise.
  CComPtr<IUnknown> scan;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SBScanControl, nullptr, CLSCTX_ALL, IID_IUnknown, scan.put_void()));
  Advised wrong(scan.get(), IID__ISBServiceEvents, static_cast<_ISBServiceEvents*>(&sink));
  EXPECT_FALSE(SUCCEEDED(wrong.Result()));
}

TEST_F(RoroServiceTest, IsNotCreatableWhileStoppedAndServesAgainAfterAStart) {
  RecordingSink sink;
  {
    auto service = Create<ISBService>(CLSID_SBService);
    Advised advised(service.get(), IID__ISBServiceEvents, static_cast<_ISBServiceEvents*>(&sink));
    ASSERT_TRUE(EngineStandIn::Stop());
    EXPECT_EQ(std::vector<long>{0}, sink.serviceStates);  // told "stopping"
  }
  CComPtr<ISBService> none;
  EXPECT_EQ(REGDB_E_CLASSNOTREG, none.CreateInstance(CLSID_SBService));
  EXPECT_FALSE(EngineStandIn::Running());
  ASSERT_TRUE(EngineStandIn::Start());
  EXPECT_TRUE(Create<ISBService>(CLSID_SBService));
}

class ScanTest : public ServiceFixture {
 protected:
  void SetUp() override {
    ServiceFixture::SetUp();
    ASSERT_TRUE(EngineStandIn::Plant(folder_.Path()));
    EngineStandIn::SetValue(L"ExtraScanRoot", folder_.Path());
    scan_ = Create<ISBScanControl>(CLSID_SBScanControl);
    ASSERT_TRUE(scan_);
    advised_ = std::make_unique<Advised>(scan_.get(), IID__ISBScanControlEvents, Sink());
    ASSERT_EQ(S_OK, advised_->Result());
  }
  void TearDown() override {
    if (scan_) scan_->Abort();
    advised_.reset();
    ServiceFixture::TearDown();
  }
  IUnknown* Sink() { return static_cast<_ISBScanControlEvents*>(&sink_); }
  bool WaitForState(long state, DWORD ms = 10000) {
    return PumpUntil([&] { return sink_.HasScanState(state); }, ms);
  }
  std::wstring RunQuickScan() {
    EXPECT_EQ(S_OK, scan_->Scan(0));
    EXPECT_TRUE(WaitForState(107));
    CBStr path;
    EXPECT_EQ(S_OK, scan_->GetLastScanResultsPath(path.put()));
    return path.str();
  }

  TempFolder folder_;
  RecordingSink sink_;
  CComPtr<ISBScanControl> scan_;
  std::unique_ptr<Advised> advised_;
};

TEST_F(ScanTest, QuickScanOfPlantedFolderReportsPhasesAndWritesTheResults) {
  ScratchRegKey unused;  // makes sure HKCU\Software exists as the tests expect
  const std::wstring hijack = L"Software\\SampleSearchPage";
  ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, hijack, L"Page", L"about:blank"));
  std::wstring path = RunQuickScan();
  RegDeleteTreeW(HKEY_CURRENT_USER, hijack.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, hijack.c_str());

  auto states = sink_.States();
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(1, states.front());
  EXPECT_EQ(107, states.back());
  std::vector<long> phases;
  for (long s : states)
    if (s >= 2 && s <= 6) phases.push_back(s);
  EXPECT_EQ((std::vector<long>{2, 3, 5, 6}), phases);
  EXPECT_GT(sink_.details, 0);

  ASSERT_NE(std::wstring::npos, path.find(L".xml"));
  EXPECT_EQ(0u, path.rfind(EngineStandIn::ResultsFolder(), 0));
  std::wstring xml = ReadText(path);
  for (const wchar_t* expected :
       {L"<threats", L"name=\"Trojan: Sample Dropper\" level=\"1\" actionRequested=\"1\" category=\"Trojan\"",
        L"name=\"Cookie: Tracking Cookies\" level=\"5\"", L"<threatAdviceDetails>",
        L"name=\"Hijacker: Sample Search Page\"", L"dispValue=\"regkey,HKCU\\Software\\SampleSearchPage\"",
        L"dispValue=\"file,", L"dispValue=\"cookie,"})
    EXPECT_NE(std::wstring::npos, xml.find(expected)) << expected;
  EXPECT_EQ(std::wstring::npos, xml.find(L"news.example"));
  EXPECT_EQ(std::wstring::npos, xml.find(L"notes.txt"));

  long c[11] = {};
  ASSERT_EQ(S_OK, scan_->GetScanCounts(&c[0], &c[1], &c[2], &c[3], &c[4], &c[5], &c[6], &c[7], &c[8], &c[9], &c[10]));
  EXPECT_EQ(2, c[0]);  // cookies: two tracking cookies
  EXPECT_EQ(1, c[1]);  // registry
  EXPECT_EQ(0, c[2]);  // processes
  EXPECT_EQ(4, c[3]);  // files: dropper, keylogger, toolbar, pop-ups
  EXPECT_EQ(6, c[8]);  // threats
  EXPECT_EQ(8, c[6]);  // all planted files looked at, cookies included
  EXPECT_EQ(3, c[5]);  // all cookies looked at
  long traces = 0;
  for (std::size_t at = 0; (at = xml.find(L"<trace ", at)) != std::wstring::npos; ++at) ++traces;
  EXPECT_EQ(c[0] + c[1] + c[2] + c[3], traces);
}

TEST_F(ScanTest, PauseHoldsBackTheEndAndResumeFinishes) {
  EngineStandIn::SetNumber(L"ScanItemDelayMs", 5);
  sink_.onScanState = [&](long state) {
    if (state == 2) scan_->Pause();
  };
  ASSERT_EQ(S_OK, scan_->Scan(0));
  ASSERT_TRUE(WaitForState(2));
  PumpFor(400);
  EXPECT_FALSE(sink_.HasScanState(107));
  long state = 0, reboot = 0;
  ASSERT_EQ(S_OK, scan_->GetScanState(&state, &reboot));
  EXPECT_GE(state, 1);
  EXPECT_LE(state, 7);
  ASSERT_EQ(S_OK, scan_->Resume());
  EXPECT_TRUE(WaitForState(107));
}

TEST_F(ScanTest, AbortEndsTheScanQuietly) {
  EngineStandIn::SetNumber(L"ScanItemDelayMs", 20);
  ASSERT_EQ(S_OK, scan_->Scan(0));
  ASSERT_TRUE(WaitForState(2));
  ASSERT_EQ(S_OK, scan_->Abort());
  PumpFor(300);
  EXPECT_FALSE(sink_.HasScanState(107));
  long state = -1, reboot = -1;
  ASSERT_EQ(S_OK, scan_->GetScanState(&state, &reboot));
  EXPECT_FALSE(state >= 1 && state <= 7);
}

TEST_F(ScanTest, PurgeHistoryRemovesEarlierResults) {
  std::wstring path = RunQuickScan();
  ASSERT_TRUE(FileExists(path));
  ASSERT_EQ(S_OK, scan_->PurgeHistory(0));
  EXPECT_FALSE(FileExists(path));
  CBStr after;
  ASSERT_EQ(S_OK, scan_->GetLastScanResultsPath(after.put()));
  EXPECT_TRUE(after.Empty());
}

TEST_F(ScanTest, CustomScanFollowsItsProfileAndExclusions) {
  ASSERT_TRUE(CreateDirectoryW((folder_ / L"excluded").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(folder_ / L"excluded\\again.bin", "TWK-SAMPLE-DROPPER-5E1B"));
  CBStr saved;
  ASSERT_EQ(S_OK, scan_->GetScanProperties(saved.put()));
  std::wstring settings =
      L"<threatEngineSettings><profiles><profile kind=\"2\" o1=\"1\" o3=\"0\" o4=\"1\" o6=\"0\" o15=\"1\"/>"
      L"</profiles><locations><location path=\"" + (folder_ / L"excluded") + L"\" type=\"4\" recursion=\"1\" "
      L"kind=\"6\" final=\"0\"/><location path=\"*dat\" type=\"4\" recursion=\"1\" kind=\"5\" final=\"0\"/>"
      L"</locations></threatEngineSettings>";
  ASSERT_EQ(S_OK, scan_->SetScanProperties(CBStr(settings).get()));
  ASSERT_EQ(S_OK, scan_->Scan(2));
  bool done = WaitForState(107);
  scan_->SetScanProperties(saved.get());
  ASSERT_TRUE(done);
  std::vector<long> phases;
  for (long st : sink_.States())
    if (st >= 2 && st <= 6) phases.push_back(st);
  EXPECT_EQ((std::vector<long>{5, 6}), phases);
  CBStr path;
  ASSERT_EQ(S_OK, scan_->GetLastScanResultsPath(path.put()));
  std::wstring xml = ReadText(path.str());
  EXPECT_NE(std::wstring::npos, xml.find(L"invoice_reader.bin"));
  EXPECT_EQ(std::wstring::npos, xml.find(L"again.bin"));
  EXPECT_EQ(std::wstring::npos, xml.find(L"samplekeylog_2026.dat"));
  EXPECT_EQ(std::wstring::npos, xml.find(L"Cookie: Tracking Cookies"));
}

// Sets the action of every threat in a results file: 1 for the threats named, 2 for all others.
void MarkForRemoval(const std::wstring& path, const std::vector<std::string>& names) {
  std::string bytes = ReadFileBytes(path);
  std::string out;
  std::size_t at = 0;
  for (;;) {
    std::size_t t = bytes.find("<threat name=\"", at);
    if (t == std::string::npos) break;
    std::size_t a = bytes.find("actionRequested=\"1\"", t);
    out += bytes.substr(at, a - at);
    bool chosen = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
      return bytes.compare(t + 14, n.size() + 1, n + "\"") == 0;
    });
    out += chosen ? "actionRequested=\"1\"" : "actionRequested=\"2\"";
    at = a + 19;
  }
  out += bytes.substr(at);
  ASSERT_TRUE(WriteFileBytes(path, out));
}


// Run only as the child of the test below: a client that advises a sink and dies
// without any clean-up.
TEST(DyingClient, DISABLED_AdvisesAndDies) {
  CComPtr<ISBScanControl> scan;
  ASSERT_EQ(S_OK, scan.CreateInstance(CLSID_SBScanControl));
  static RecordingSink sink;
  static Advised* advised = new Advised(scan.get(), IID__ISBScanControlEvents, static_cast<_ISBScanControlEvents*>(&sink));
  ASSERT_EQ(S_OK, advised->Result());
  TerminateProcess(GetCurrentProcess(), 3);
}

TEST_F(ScanTest, SinkOfADeadClientIsDroppedAndOthersAreServed) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(3u, EngineStandIn::RunProgram(Quoted(self) +
                                          L" --gtest_also_run_disabled_tests"
                                          L" --gtest_filter=DyingClient.DISABLED_AdvisesAndDies"));
  DWORD before = GetTickCount();
  RunQuickScan();
  EXPECT_LT(GetTickCount() - before, 5000u);
  EXPECT_EQ(107, sink_.States().back());
}

TEST_F(ScanTest, CleanQuarantinesOnlyThreatsMarkedForRemoval) {
  TempFolder quarantine;
  EngineStandIn::SetValue(L"QuarantineFolder", quarantine / L"q");
  std::wstring path = RunQuickScan();
  MarkForRemoval(path, {"Trojan: Sample Dropper"});
  sink_.scanStates.clear();
  ASSERT_EQ(S_OK, scan_->Clean(CBStr(path).get()));
  long state = 0, reboot = 1;
  ASSERT_EQ(S_OK, scan_->GetScanState(&state, &reboot));
  EXPECT_EQ(109, state);  // cleaning
  ASSERT_TRUE(WaitForState(111));
  EXPECT_EQ((std::vector<long>{112, 111}), sink_.States());
  ASSERT_EQ(S_OK, scan_->GetScanState(&state, &reboot));
  EXPECT_NE(109, state);
  EXPECT_NE(117, state);
  EXPECT_EQ(0, sink_.scanStates.back().second);  // no restart needed
  EXPECT_FALSE(FileExists(folder_ / L"invoice_reader.bin"));
  EXPECT_TRUE(FileExists(folder_ / L"sampletoolbar_core.dll"));
  EXPECT_TRUE(FileExists(folder_ / L"Cookies\\user@adtrack.example[1].txt"));
  std::string log = ReadFileBytes(quarantine / L"q\\Quarantine.log");
  EXPECT_NE(std::string::npos, log.find("invoice_reader.bin"));
  ASSERT_FALSE(sink_.cleaner.empty());
  EXPECT_EQ(100, sink_.cleaner.back().position);
}

TEST_F(ScanTest, CleanEndsProcessesAndExportsRegistryItemsBeforeRemovingThem) {
  TempFolder quarantine;
  EngineStandIn::SetValue(L"QuarantineFolder", quarantine / L"q");
  // A harmless long-running program under the image name of a sample threat.
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  ASSERT_TRUE(CreateDirectoryW((folder_ / L"bin").c_str(), nullptr));
  ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\ping.exe").c_str(), (folder_ / L"bin\\sampledropper.exe").c_str(), FALSE));
  auto process = ChildProcess::Start(Quoted(folder_ / L"bin\\sampledropper.exe") + L" -n 60 127.0.0.1");
  ASSERT_TRUE(process);
  const std::wstring hijack = L"Software\\SampleSearchPage";
  ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, hijack, L"Page", L"about:blank"));
  std::wstring path = RunQuickScan();
  long c[11] = {};
  ASSERT_EQ(S_OK, scan_->GetScanCounts(&c[0], &c[1], &c[2], &c[3], &c[4], &c[5], &c[6], &c[7], &c[8], &c[9], &c[10]));
  EXPECT_EQ(1, c[2]);  // the process
  EXPECT_EQ(1, c[1]);  // the key
  MarkForRemoval(path, {"Trojan: Sample Dropper", "Hijacker: Sample Search Page"});
  ASSERT_EQ(S_OK, scan_->Clean(CBStr(path).get()));
  bool cleaned = WaitForState(111);
  bool ended = process->Wait(5000).has_value();
  if (!ended) process->Terminate();
  RegDeleteTreeW(HKEY_CURRENT_USER, hijack.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, hijack.c_str());
  ASSERT_TRUE(cleaned);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(GetRegString(HKEY_CURRENT_USER, hijack, L"Page").has_value());
  std::string exported = ReadFileBytes(quarantine / L"q\\Registry.txt");
  EXPECT_NE(std::string::npos, exported.find("HKCU\\Software\\SampleSearchPage\tPage\t1\t"));
}

TEST_F(ScanTest, CleanRefusesBadInputAndTheServiceLivesOn) {
  TempFolder temp;
  ASSERT_TRUE(WriteFileBytes(temp / L"broken.xml", "this is not xml <<<"));
  EXPECT_EQ(HRESULT(0x80040203), scan_->Clean(CBStr(temp / L"broken.xml").get()));
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), scan_->Clean(CBStr(temp / L"missing.xml").get()));
  std::wstring path = RunQuickScan();
  EngineStandIn::SetValue(L"QuarantineFolder", L"Q:\\no such drive\\quarantine");
  EXPECT_EQ(HRESULT(0x80040204), scan_->Clean(CBStr(path).get()));
  auto service = Create<ISBService>(CLSID_SBService);
  long state = 0;
  EXPECT_EQ(S_OK, service->GetServiceState(&state));
}

TEST_F(ScanTest, SecondScanWhileOneRunsIsRefused) {
  EngineStandIn::SetNumber(L"ScanItemDelayMs", 20);
  ASSERT_EQ(S_OK, scan_->Scan(0));
  EXPECT_FALSE(SUCCEEDED(scan_->Scan(1)));
  EXPECT_FALSE(SUCCEEDED(scan_->Scan(7)));
}

class DefinitionsTest : public ServiceFixture {
 protected:
  void SetUp() override {
    ServiceFixture::SetUp();
    savedDefinitions_ = ReadFileBytes(EngineStandIn::InstalledDefinitionsPath());
    ASSERT_FALSE(savedDefinitions_.empty());
    EngineStandIn::SetValue(L"ProgramFolder", program_.Path());
    defs_ = Create<ISBThreatDefinitions>(CLSID_SBThreatDefinitions);
    ASSERT_TRUE(defs_);
    advised_ = std::make_unique<Advised>(defs_.get(), IID__ISBThreatDefinitionsEvents,
                                         static_cast<_ISBThreatDefinitionsEvents*>(&sink_));
    ASSERT_EQ(S_OK, advised_->Result());
    CBStr date;
    ASSERT_EQ(S_OK, defs_->GetLocalDefVersion(&version_, date.put()));
    EXPECT_FALSE(date.Empty());
  }
  void TearDown() override {
    advised_.reset();
    defs_ = nullptr;
    // Put the shipped definitions back and let the service load them again.
    if (ReadFileBytes(EngineStandIn::InstalledDefinitionsPath()) != savedDefinitions_) {
      WriteFileBytes(EngineStandIn::InstalledDefinitionsPath(), savedDefinitions_);
      EngineStandIn::Stop();
      EngineStandIn::Start();
    }
    ServiceFixture::TearDown();
  }
  // The installed definitions with another version number.
  std::string DefinitionsWithVersion(unsigned long version) {
    std::string text = savedDefinitions_;
    std::size_t at = text.find("version=\"", text.find("<definitions"));
    std::size_t end = text.find('"', at + 9);
    return text.substr(0, at + 9) + std::to_string(version) + text.substr(end);
  }
  bool WaitForMerge(long state, DWORD ms = 10000) {
    return PumpUntil([&] { return sink_.HasMerge(state); }, ms);
  }

  TempFolder program_;
  std::string savedDefinitions_;
  unsigned long version_ = 0;
  RecordingSink sink_;
  CComPtr<ISBThreatDefinitions> defs_;
  std::unique_ptr<Advised> advised_;
};

TEST_F(DefinitionsTest, UpdateDownloadsNewerDefinitionsFromTheLocalServer) {
  std::string body = DefinitionsWithVersion(version_ + 1);
  LocalHttpServer server(body, version_ + 1, 512, 15);
  EngineStandIn::SetValue(L"UpdateAddress", server.Url());
  ASSERT_EQ(S_OK, defs_->GetThreatDefUpdates());
  ASSERT_TRUE(WaitForMerge(3));
  ASSERT_FALSE(sink_.merges.empty());
  EXPECT_EQ(5, sink_.merges.front().state);
  long last = -1;
  int receiving = 0;
  for (auto& m : sink_.merges) {
    if (m.state != 0) continue;
    ++receiving;
    EXPECT_GE(m.received, last);
    EXPECT_EQ(long(body.size()), m.total);
    last = m.received;
  }
  EXPECT_GE(receiving, 2);
  EXPECT_EQ(long(body.size()), last);
  EXPECT_EQ(version_ + 1, sink_.merges.back().version);
  unsigned long now = 0;
  CBStr date;
  ASSERT_EQ(S_OK, defs_->GetLocalDefVersion(&now, date.put()));
  EXPECT_EQ(version_ + 1, now);
  EXPECT_EQ(std::to_string(version_ + 1) + ",", ReadFileBytes(program_ / L"Definitions\\DefVer.txt").substr(0, 5));
}

TEST_F(DefinitionsTest, FullUpdateStartsWithSixAndSameVersionReportsNothingNew) {
  LocalHttpServer server(DefinitionsWithVersion(version_), version_, 4096, 0);
  EngineStandIn::SetValue(L"UpdateAddress", server.Url());
  ASSERT_EQ(S_OK, defs_->GetFullThreatDefUpdates());
  ASSERT_TRUE(WaitForMerge(4));
  EXPECT_EQ(6, sink_.merges.front().state);
  EXPECT_FALSE(sink_.HasMerge(3));
}

TEST_F(DefinitionsTest, CancelReportsCancelledAndASecondRequestIsRefused) {
  LocalHttpServer server(DefinitionsWithVersion(version_ + 1), version_ + 1, 256, 30);
  EngineStandIn::SetValue(L"UpdateAddress", server.Url());
  ASSERT_EQ(S_OK, defs_->GetThreatDefUpdates());
  ASSERT_TRUE(WaitForMerge(0));
  ASSERT_EQ(S_OK, defs_->GetThreatDefUpdates());
  ASSERT_TRUE(WaitForMerge(100)) << [&] {
    std::string t;
    for (auto& m : sink_.merges) t += std::to_string(m.state) + "/" + std::to_string(m.received) + " ";
    return t;
  }();
  ASSERT_EQ(S_OK, defs_->CancelThreatDefUpdates());
  ASSERT_TRUE(WaitForMerge(2));
  EXPECT_FALSE(sink_.HasMerge(3));
  unsigned long now = 0;
  CBStr date;
  ASSERT_EQ(S_OK, defs_->GetLocalDefVersion(&now, date.put()));
  EXPECT_EQ(version_, now);
}

TEST_F(DefinitionsTest, UpdateGoesThroughTheProxyOfTheServiceSettings) {
  LocalHttpServer proxy(DefinitionsWithVersion(version_ + 1), version_ + 1, 4096, 0);
  auto service = Create<ISBService>(CLSID_SBService);
  CBStr saved;
  ASSERT_EQ(S_OK, service->GetServiceProperties(saved.put()));
  std::wstring port = proxy.Url().substr(17, proxy.Url().find(L'/', 17) - 17);  // after "http://127.0.0.1:"
  std::wstring settings = L"<serviceSettings option1=\"0\"><proxy enabled=\"1\" server=\"127.0.0.1\" port=\"" + port +
                          L"\"/></serviceSettings>";
  ASSERT_EQ(S_OK, service->SetServiceProperties(CBStr(settings).get()));
  EngineStandIn::SetValue(L"UpdateAddress", L"http://updates.example.invalid/SPURS/spurs.aspx");
  ASSERT_EQ(S_OK, defs_->GetThreatDefUpdates());
  bool done = WaitForMerge(3);
  service->SetServiceProperties(saved.get());
  ASSERT_TRUE(done);
  // The proxy is asked for the absolute address (Wine's WinHTTP writes the port into it).
  std::string line = proxy.LastRequestLine();
  EXPECT_EQ(0u, line.rfind("GET http://updates.example.invalid", 0)) << line;
  EXPECT_NE(std::string::npos, line.find("/SPURS/spurs.aspx HTTP/1.1")) << line;
}

TEST_F(DefinitionsTest, BadDefinitionsFileFails) {
  LocalHttpServer server("<definitions version=\"x\">broken", version_ + 1, 4096, 0);
  EngineStandIn::SetValue(L"UpdateAddress", server.Url());
  ASSERT_EQ(S_OK, defs_->GetThreatDefUpdates());
  ASSERT_TRUE(WaitForMerge(7));
  EXPECT_FALSE(sink_.HasMerge(3));
}

TEST_F(DefinitionsTest, UnreachableServerFails) {
  EngineStandIn::SetValue(L"UpdateAddress", L"http://127.0.0.1:1/defs.xml");
  ASSERT_EQ(S_OK, defs_->GetThreatDefUpdates());
  EXPECT_TRUE(WaitForMerge(7));
}

TEST_F(DefinitionsTest, WithoutDefinitionsTheDateIsEmptyAndAScanCannotRun) {
  advised_.reset();
  defs_ = nullptr;
  ASSERT_TRUE(EngineStandIn::Stop());
  ASSERT_TRUE(DeleteFileW(EngineStandIn::InstalledDefinitionsPath().c_str()));
  ASSERT_TRUE(EngineStandIn::Start());
  auto defs = Create<ISBThreatDefinitions>(CLSID_SBThreatDefinitions);
  unsigned long version = 7;
  CBStr date;
  ASSERT_EQ(S_OK, defs->GetLocalDefVersion(&version, date.put()));
  EXPECT_TRUE(date.Empty());
  auto scan = Create<ISBScanControl>(CLSID_SBScanControl);
  RecordingSink sink;
  Advised advised(scan.get(), IID__ISBScanControlEvents, static_cast<_ISBScanControlEvents*>(&sink));
  EXPECT_FALSE(SUCCEEDED(scan->Scan(0)));
  EXPECT_TRUE(PumpUntil([&] { return sink.HasScanState(113); }, 5000));
  EXPECT_FALSE(sink.HasScanState(1));
}

TEST_F(RoroServiceTest, KilledServiceFailsTheNextCallAndARestartServesNewClients) {
  auto service = Create<ISBService>(CLSID_SBService);
  ASSERT_TRUE(service);
  ASSERT_TRUE(EngineStandIn::Kill());
  EXPECT_FALSE(EngineStandIn::Running());
  long state = 0;
  DWORD before = GetTickCount();
  HRESULT hr = service->GetServiceState(&state);
  EXPECT_LT(GetTickCount() - before, 1000u);
  EXPECT_TRUE(hr == HRESULT(0x800706BA) || hr == HRESULT(0x800706BE)) << std::hex << hr;
  ASSERT_TRUE(EngineStandIn::Start());
  auto again = Create<ISBService>(CLSID_SBService);
  ASSERT_TRUE(again);
  EXPECT_EQ(S_OK, again->GetServiceState(&state));
}

TEST_F(RoroServiceTest, StoresTheSettingsItIsGiven) {
  auto scan = Create<ISBScanControl>(CLSID_SBScanControl);
  CBStr original;
  ASSERT_EQ(S_OK, scan->GetScanProperties(original.put()));
  const std::wstring custom = L"<threatEngineSettings option1=\"1\"><profiles/><locations/></threatEngineSettings>";
  ASSERT_EQ(S_OK, scan->SetScanProperties(CBStr(custom).get()));
  CBStr back;
  ASSERT_EQ(S_OK, scan->GetScanProperties(back.put()));
  EXPECT_EQ(custom, back.str());
  ASSERT_EQ(S_OK, scan->SetScanProperties(original.get()));
}

}  // namespace
}  // namespace twktest
