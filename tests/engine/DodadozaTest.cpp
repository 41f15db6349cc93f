// DODADOZA through its exports, as the product loads it.
#include <gtest/gtest.h>

#include "BStr.h"
#include "ComPtr.h"
#include "Dodadoza.h"
#include "EngineStandIn.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "WinHandle.h"

using twk::CBStr;
using twk::CComPtr;

namespace twktest {
namespace {

class DodadozaTest : public testing::Test {
 protected:
  void SetUp() override {
    library_.reset(LoadLibraryW((EngineStandIn::Folder() + L"\\" DODADOZA_LIBRARY_NAME).c_str()));
    ASSERT_TRUE(library_);
  }
  template <typename F>
  F Export(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library_.get(), name)));
  }
  twk::CModule library_;
};

TEST_F(DodadozaTest, ThreatEngineSettingsRoundTripTheirXml) {
  auto get = Export<PFN_GetThreatEngineSettingsFactory>("GetThreatEngineSettingsFactory");
  ASSERT_TRUE(get);
  auto factory = CComPtr<IDDZThreatEngineSettingsFactory>::Attach(get());
  long error = -1;
  auto settings = CComPtr<IDDZThreatEngineSettings>::Attach(factory->Create(L"", &error));
  ASSERT_TRUE(settings);
  EXPECT_EQ(0, error);
  settings->SetGeneralOption(1, FALSE);
  settings->SetGeneralOption(3, TRUE);
  auto profiles = CComPtr<IDDZScanProfileList>::Attach(settings->Profiles());
  auto profile = CComPtr<IDDZScanProfile>::Attach(profiles->Add(2));
  profile->SetOption(1, TRUE);
  profile->SetOption(20, FALSE);
  auto locations = CComPtr<IDDZScanLocationList>::Attach(settings->Locations());
  ASSERT_EQ(S_OK, locations->Add(L"C:\\Temp & <stuff>", 4, 1, 6, 0));
  CBStr xml = CBStr::Attach(settings->ToXml());

  auto back = CComPtr<IDDZThreatEngineSettings>::Attach(factory->Create(xml.c_str(), &error));
  ASSERT_TRUE(back);
  EXPECT_EQ(0, error);
  EXPECT_EQ(0, back->GeneralOption(1));
  EXPECT_EQ(-1, back->GeneralOption(2));
  EXPECT_EQ(1, back->GeneralOption(3));
  auto backProfiles = CComPtr<IDDZScanProfileList>::Attach(back->Profiles());
  EXPECT_EQ(1, backProfiles->Count());
  EXPECT_FALSE(CComPtr<IDDZScanProfile>::Attach(backProfiles->Find(0)));
  auto p2 = CComPtr<IDDZScanProfile>::Attach(backProfiles->Find(2));
  ASSERT_TRUE(p2);
  EXPECT_EQ(1, p2->Option(1));
  EXPECT_EQ(0, p2->Option(20));
  EXPECT_EQ(-1, p2->Option(14));
  auto backLocations = CComPtr<IDDZScanLocationList>::Attach(back->Locations());
  ASSERT_EQ(1, backLocations->Count());
  auto l = CComPtr<IDDZScanLocation>::Attach(backLocations->Item(0));
  EXPECT_EQ(L"C:\\Temp & <stuff>", CBStr::Attach(l->Path()).str());
  EXPECT_EQ(4, l->Type());
  EXPECT_EQ(1, l->Recursion());
  EXPECT_EQ(6, l->Kind());
  EXPECT_EQ(0, l->Final());
  backLocations->Clear();
  EXPECT_EQ(0, backLocations->Count());
}

TEST_F(DodadozaTest, UpdateAndServiceSettingsRoundTripTheirXml) {
  auto defsFactory = CComPtr<IDDZDefinitionUpdateSettingsFactory>::Attach(
      Export<PFN_GetDefinitionUpdateSettingsFactory>("GetDefinitionUpdateSettingsFactory")());
  auto softFactory = CComPtr<IDDZSoftwareUpdateSettingsFactory>::Attach(
      Export<PFN_GetSoftwareUpdateSettingsFactory>("GetSoftwareUpdateSettingsFactory")());
  auto serviceFactory = CComPtr<IDDZServiceSettingsFactory>::Attach(
      Export<PFN_GetServiceSettingsFactory>("GetServiceSettingsFactory")());
  ASSERT_TRUE(defsFactory && softFactory && serviceFactory);
  long error = -1;

  auto defs = CComPtr<IDDZDefinitionUpdateSettings>::Attach(defsFactory->Create(L"", &error));
  defs->SetGeneralOption(2, TRUE);
  {
    auto server = CComPtr<IDDZUpdateServer>::Attach(defs->UpdateServer());
    server->SetAddress(L"http://updates.example/SPURS/spurs.aspx");
    server->SetNumber(411);
    server->SetLanguage(L"EN");
    server->SetVendor(L"Dizavev");
    server->SetFlag(FALSE);
  }
  CBStr defsXml = CBStr::Attach(defs->ToXml());
  auto defsBack = CComPtr<IDDZDefinitionUpdateSettings>::Attach(defsFactory->Create(defsXml.c_str(), &error));
  EXPECT_EQ(0, error);
  EXPECT_EQ(1, defsBack->GeneralOption(2));
  auto server = CComPtr<IDDZUpdateServer>::Attach(defsBack->UpdateServer());
  EXPECT_EQ(L"http://updates.example/SPURS/spurs.aspx", CBStr::Attach(server->Address()).str());
  EXPECT_EQ(411, server->Number());
  EXPECT_EQ(L"EN", CBStr::Attach(server->Language()).str());
  EXPECT_EQ(L"Dizavev", CBStr::Attach(server->Vendor()).str());
  EXPECT_FALSE(server->Flag());

  auto soft = CComPtr<IDDZSoftwareUpdateSettings>::Attach(softFactory->Create(L"", &error));
  CComPtr<IDDZUpdateServer>::Attach(soft->UpdateServer())->SetNumber(7);
  CBStr softXml = CBStr::Attach(soft->ToXml());
  auto softBack = CComPtr<IDDZSoftwareUpdateSettings>::Attach(softFactory->Create(softXml.c_str(), &error));
  EXPECT_EQ(7, CComPtr<IDDZUpdateServer>::Attach(softBack->UpdateServer())->Number());

  auto service = CComPtr<IDDZServiceSettings>::Attach(serviceFactory->Create(L"", &error));
  {
    auto proxy = CComPtr<IDDZProxySettings>::Attach(service->Proxy());
    proxy->SetEnabled(TRUE);
    proxy->SetServer(L"proxy.example");
    proxy->SetPort(L"8080");
  }
  CBStr serviceXml = CBStr::Attach(service->ToXml());
  auto serviceBack = CComPtr<IDDZServiceSettings>::Attach(serviceFactory->Create(serviceXml.c_str(), &error));
  auto proxy = CComPtr<IDDZProxySettings>::Attach(serviceBack->Proxy());
  EXPECT_TRUE(proxy->Enabled());
  EXPECT_EQ(L"proxy.example", CBStr::Attach(proxy->Server()).str());
  EXPECT_EQ(L"8080", CBStr::Attach(proxy->Port()).str());
}

TEST_F(DodadozaTest, UnusableTextSetsTheErrorFlag) {
  auto factory = CComPtr<IDDZThreatEngineSettingsFactory>::Attach(
      Export<PFN_GetThreatEngineSettingsFactory>("GetThreatEngineSettingsFactory")());
  for (const wchar_t* text : {L"not xml at all", L"<serviceSettings option1=\"1\"/>", L"<threatEngineSettings>"}) {
    long error = 0;
    auto object = CComPtr<IDDZThreatEngineSettings>::Attach(factory->Create(text, &error));
    EXPECT_NE(0, error) << text;
  }
}

constexpr char kResults[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<threats kind=\"0\">\r\n"
    "  <threat name=\"Adware: Sample Toolbar\" level=\"3\" actionRequested=\"1\" category=\"Adware\">\r\n"
    "    <threatAdviceDetails>Remove it.</threatAdviceDetails>\r\n"
    "    <trace dispValue=\"file,C:\\a\\sampletoolbar.dll\"/>\r\n"
    "    <trace dispValue=\"regkey,HKCU\\Software\\SampleToolbar\"/>\r\n"
    "  </threat>\r\n"
    "  <threat name=\"Cookie: Tracking Cookies\" level=\"5\" actionRequested=\"1\" category=\"Tracking Cookie\">\r\n"
    "    <threatAdviceDetails>Safe to remove.</threatAdviceDetails>\r\n"
    "    <trace dispValue=\"cookie,C:\\c\\user@adtrack.example[1].txt\"/>\r\n"
    "  </threat>\r\n"
    "</threats>\r\n";

TEST_F(DodadozaTest, TraceHandedOutByOneCollectionIsRemovedThroughAnother) {
  TempFolder folder;
  std::wstring path = folder / L"results.xml";
  ASSERT_TRUE(WriteFileBytes(path, kResults));
  auto factory = CComPtr<IDDZScanResultsFactory>::Attach(
      Export<PFN_GetNVScanResultsFactory>("GetNVScanResultsFactory")());
  long error = -1;
  auto results = CComPtr<IDDZScanResults>::Attach(factory->CreateFromFile(path.c_str(), &error));
  ASSERT_EQ(0, error);
  auto threats = CComPtr<IDDZThreatCollection>::Attach(results->Threats());
  threats->Reset();
  auto toolbar = CComPtr<IDDZThreat>::Attach(threats->Next());
  ASSERT_TRUE(toolbar);
  auto reader = CComPtr<IDDZTraceCollection>::Attach(toolbar->Traces());
  auto remover = CComPtr<IDDZTraceCollection>::Attach(toolbar->Traces());
  ASSERT_EQ(2, remover->Count());
  reader->Reset();
  CComPtr<IDDZTrace>::Attach(reader->Next());
  auto second = CComPtr<IDDZTrace>::Attach(reader->Next());
  ASSERT_TRUE(second);
  const std::wstring secondValue = CBStr::Attach(second->Value()).str();

  EXPECT_EQ(S_OK, remover->Remove(second.get()));
  EXPECT_EQ(1, remover->Count());
  remover->Reset();
  auto left = CComPtr<IDDZTrace>::Attach(remover->Next());
  ASSERT_TRUE(left);
  EXPECT_NE(secondValue, CBStr::Attach(left->Value()).str());
  EXPECT_FALSE(CComPtr<IDDZTrace>::Attach(remover->Next()));
}

TEST_F(DodadozaTest, ResultsObjectReadsChangesAndSavesTheFile) {
  TempFolder folder;
  std::wstring path = folder / L"results.xml";
  ASSERT_TRUE(WriteFileBytes(path, kResults));
  auto factory = CComPtr<IDDZScanResultsFactory>::Attach(
      Export<PFN_GetNVScanResultsFactory>("GetNVScanResultsFactory")());
  ASSERT_TRUE(factory);
  long error = -1;
  auto results = CComPtr<IDDZScanResults>::Attach(factory->CreateFromFile(path.c_str(), &error));
  ASSERT_EQ(0, error);
  auto threats = CComPtr<IDDZThreatCollection>::Attach(results->Threats());
  ASSERT_TRUE(threats);
  EXPECT_EQ(2, threats->Count());
  threats->Reset();
  auto toolbar = CComPtr<IDDZThreat>::Attach(threats->Next());
  auto cookies = CComPtr<IDDZThreat>::Attach(threats->Next());
  EXPECT_FALSE(CComPtr<IDDZThreat>::Attach(threats->Next()));
  ASSERT_TRUE(toolbar && cookies);
  EXPECT_EQ(L"Adware: Sample Toolbar", CBStr::Attach(toolbar->Name()).str());
  EXPECT_EQ(3, toolbar->Level());
  EXPECT_EQ(L"Adware", CBStr::Attach(toolbar->Category()).str());
  EXPECT_EQ(L"Remove it.", CBStr::Attach(toolbar->Advice()).str());

  auto traces = CComPtr<IDDZTraceCollection>::Attach(toolbar->Traces());
  traces->Reset();
  auto first = CComPtr<IDDZTrace>::Attach(traces->Next());
  EXPECT_EQ(L"file,C:\\a\\sampletoolbar.dll", CBStr::Attach(first->Value()).str());
  EXPECT_EQ(S_OK, traces->Remove(first.get()));
  EXPECT_EQ(1, traces->Count());
  auto cookieTraces = CComPtr<IDDZTraceCollection>::Attach(cookies->Traces());
  EXPECT_EQ(S_FALSE, cookieTraces->Remove(first.get()));
  EXPECT_EQ(S_FALSE, traces->Remove(first.get())) << "removed already";
  cookies->SetActionRequested(2);
  results->SaveToFile(path.c_str(), &error, 0);
  EXPECT_EQ(0, error);
  results = nullptr;

  std::string saved = ReadFileBytes(path);
  EXPECT_EQ(std::string::npos, saved.find("sampletoolbar.dll"));
  EXPECT_NE(std::string::npos, saved.find("regkey,HKCU\\Software\\SampleToolbar"));
  EXPECT_NE(std::string::npos, saved.find("<threatAdviceDetails>Safe to remove.</threatAdviceDetails>"));
  auto reread = CComPtr<IDDZScanResults>::Attach(factory->CreateFromFile(path.c_str(), &error));
  ASSERT_EQ(0, error);
  auto again = CComPtr<IDDZThreatCollection>::Attach(reread->Threats());
  again->Reset();
  CComPtr<IDDZThreat>::Attach(again->Next());
  auto cookiesAgain = CComPtr<IDDZThreat>::Attach(again->Next());
  EXPECT_EQ(2, cookiesAgain->ActionRequested());
  EXPECT_EQ(L"Cookie: Tracking Cookies", CBStr::Attach(cookiesAgain->Name()).str());
}

TEST_F(DodadozaTest, UnreadableResultsFileSetsTheErrorFlag) {
  TempFolder folder;
  ASSERT_TRUE(WriteFileBytes(folder / L"bad.xml", "<threats><threat"));
  ASSERT_TRUE(WriteFileBytes(folder / L"other.xml", "<settings/>"));
  auto factory = CComPtr<IDDZScanResultsFactory>::Attach(
      Export<PFN_GetNVScanResultsFactory>("GetNVScanResultsFactory")());
  for (const std::wstring& path : {folder / L"bad.xml", folder / L"other.xml", folder / L"missing.xml"}) {
    long error = 0;
    auto results = CComPtr<IDDZScanResults>::Attach(factory->CreateFromFile(path.c_str(), &error));
    EXPECT_NE(0, error);
    if (results) {
      EXPECT_FALSE(CComPtr<IDDZThreatCollection>::Attach(results->Threats()));
    }
  }
}

}  // namespace
}  // namespace twktest
