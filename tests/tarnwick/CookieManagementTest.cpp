#include "CookieManagement.h"

#include <gtest/gtest.h>

#include "ComObject.h"
#include "ResultsDiagnostics.h"
#include "ResultsFixture.h"
#include "ResultsTreeBuilder.h"

namespace {

using twktest::FileExists;
using twktest::ReadFileBytes;
using twktest::WriteFileBytes;

std::string Utf16File(const std::wstring& text) {
  std::wstring withBom = L"\xFEFF" + text;
  return std::string(reinterpret_cast<const char*>(withBom.data()), withBom.size() * sizeof(wchar_t));
}

std::wstring ListFile(const std::vector<std::wstring>& entries) {
  std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Configuration><Traces>";
  for (const auto& e : entries) text += L"<trace DispValue=\"" + e + L"\"/>";
  return text + L"</Traces></Configuration>";
}

constexpr wchar_t kResults[] =
    L"<threats>"
    L"<threat name='Cookie: Tracking Cookies' level='5' actionRequested='1'>"
    L"<trace dispValue='cookie,C:\\Users\\me\\Cookies\\me@doubleclick.net[1].txt'/>"
    L"<trace dispValue='cookie,C:\\Users\\me\\Cookies\\me@DOUBLECLICK.net[2].txt'/>"
    L"<trace dispValue='cookie,C:\\Users\\me\\Cookies\\me@harmless.org[1].txt'/>"
    L"</threat>"
    L"<threat name='Adware: Bad' level='2' actionRequested='1'>"
    L"<trace dispValue='file,C:\\Program Files\\Bad\\bad.exe'/>"
    L"<trace dispValue='reg,HKCU\\Software\\Bad'/>"
    L"<trace dispValue='NoCommaValue'/>"
    L"</threat>"
    L"<threat name='Trojan: Other' level='1' actionRequested='1'>"
    L"<trace dispValue='process,C:\\PROGRAM FILES\\BAD\\BAD.EXE'/>"
    L"<trace dispValue='file, C:\\spaced.dll'/>"
    L"</threat>"
    L"</threats>";

class CookieManagementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sink = SetResultsDebugOutputSink([this](const std::wstring& t) { debug.push_back(t); });
    state.resultsPath = twktest::WriteResults(folder, kResults);
    state.TakeScanCounts(3, 1, 1, 3);
  }
  void TearDown() override { SetResultsDebugOutputSink(sink); }

  std::vector<std::wstring> TracesOf(const std::wstring& threat) {
    CXmlDocumentWrapper doc;
    EXPECT_TRUE(doc.Load(state.resultsPath));
    std::vector<std::wstring> values;
    auto traces = doc.SelectNodes(L"//threat[@name='" + threat + L"']/trace");
    for (long i = 0; i < traces.Count(); ++i) values.push_back(traces.GetValue(i, L"dispValue"));
    return values;
  }
  std::wstring ActionOf(const std::wstring& threat) {
    CXmlDocumentWrapper doc;
    EXPECT_TRUE(doc.Load(state.resultsPath));
    return doc.SelectSingleNode(L"//threat[@name='" + threat + L"']").GetValue(L"actionRequested");
  }

  twktest::TempFolder folder;
  CCookieManagement cookies{folder.Path(), twktest::BuiltResultsFactory};
  ScanResultsState state;
  DebugOutputSink sink;
  std::vector<std::wstring> debug;
};

TEST_F(CookieManagementTest, TheBuiltEngineLibraryIsThere) {
  ASSERT_TRUE(twktest::BuiltResultsFactory());
  // The product finds it through the engine's installation key.
  EXPECT_TRUE(GetScanResultsFactory());
}

TEST_F(CookieManagementTest, CookieFilterKeepsOnlyListedCookiesCaseSensitively) {
  ASSERT_TRUE(WriteFileBytes(cookies.CookiesDatabasePath(), Utf16File(ListFile({L"doubleclick", L"atdmt"}))));
  cookies.ApplyCookieFilter(state);
  EXPECT_EQ((std::vector<std::wstring>{L"doubleclick", L"atdmt"}), cookies.filterDatabase);
  EXPECT_EQ((std::vector<std::wstring>{L"cookie,C:\\Users\\me\\Cookies\\me@doubleclick.net[1].txt"}),
            TracesOf(L"Cookie: Tracking Cookies"));
  EXPECT_EQ(3u, TracesOf(L"Adware: Bad").size());  // other threats untouched
  EXPECT_EQ(1u, state.cookiesFound);
  EXPECT_EQ(6u, state.itemsFound);
  EXPECT_EQ(6u, state.itemsRemaining);
  EXPECT_TRUE(cookies.changed);
  EXPECT_EQ(L"1", ActionOf(L"Cookie: Tracking Cookies"));
  EXPECT_TRUE(debug.empty());
}

TEST_F(CookieManagementTest, WithoutDatabaseEveryCookieGoesAndTheThreatIsLeftAlone) {
  cookies.ApplyCookieFilter(state);
  EXPECT_TRUE(TracesOf(L"Cookie: Tracking Cookies").empty());
  EXPECT_EQ(L"2", ActionOf(L"Cookie: Tracking Cookies"));
  EXPECT_EQ(0u, state.cookiesFound);
  EXPECT_EQ(5u, state.itemsFound);
}

TEST_F(CookieManagementTest, IgnoreFilterComparesThePathAfterTheFirstComma) {
  cookies.AddIgnoreEntry(L"c:\\program files\\bad\\BAD.EXE");  // found under two kinds, other case
  cookies.AddIgnoreEntry(L"nocommavalue");                     // compared whole
  cookies.AddIgnoreEntry(L"C:\\spaced.dll");                    // the stored text has a leading space
  cookies.ApplyIgnoreList(state);
  EXPECT_EQ((std::vector<std::wstring>{L"reg,HKCU\\Software\\Bad"}), TracesOf(L"Adware: Bad"));
  EXPECT_EQ((std::vector<std::wstring>{L"file, C:\\spaced.dll"}), TracesOf(L"Trojan: Other"));
  EXPECT_EQ(5u, state.itemsRemaining);
  EXPECT_EQ(8u, state.itemsFound);
  EXPECT_EQ(3u, state.cookiesFound);
  EXPECT_TRUE(cookies.changed);
  EXPECT_EQ(L"1", ActionOf(L"Adware: Bad"));
}

TEST_F(CookieManagementTest, ThreatWithEveryTraceIgnoredDisappearsFromTheTree) {
  cookies.AddIgnoreEntry(L"C:\\PROGRAM FILES\\BAD\\BAD.EXE");
  cookies.AddIgnoreEntry(L" C:\\spaced.dll");
  cookies.ApplyIgnoreList(state);
  EXPECT_EQ(L"2", ActionOf(L"Trojan: Other"));
  CXmlDocumentWrapper doc;
  ASSERT_TRUE(doc.Load(state.resultsPath));
  for (const auto& item : BuildResultsTree(doc.Root())) EXPECT_NE(L"Trojan: Other", item.text);
}

TEST_F(CookieManagementTest, BothFiltersInOneOpeningEndAsOneAfterTheOther) {
  ASSERT_TRUE(WriteFileBytes(cookies.CookiesDatabasePath(), Utf16File(ListFile({L"doubleclick"}))));
  // A listed cookie that is also ignored, a path under two kinds, a threat emptied.
  for (const wchar_t* entry : {L"C:\\Users\\me\\Cookies\\me@doubleclick.net[1].txt", L"c:\\program files\\bad\\bad.exe",
                               L" C:\\spaced.dll"}) {
    cookies.AddIgnoreEntry(entry);
  }
  const std::wstring secondPath = twktest::WriteResults(folder, kResults, L"Second.xml");
  CCookieManagement separate(folder.Path(), twktest::BuiltResultsFactory);
  separate.ignoreList = cookies.ignoreList;
  ScanResultsState second = state;
  second.resultsPath = secondPath;

  cookies.ApplyCookieFilterAndIgnoreList(state);
  separate.ApplyCookieFilter(second);
  separate.ApplyIgnoreList(second);

  EXPECT_EQ(ReadFileBytes(secondPath), ReadFileBytes(state.resultsPath));
  EXPECT_EQ(second.cookiesFound, state.cookiesFound);
  EXPECT_EQ(second.itemsFound, state.itemsFound);
  EXPECT_EQ(second.itemsRemaining, state.itemsRemaining);
  EXPECT_EQ(1u, state.cookiesFound);  // the ignored cookie counts as ignored, not as unlisted
  EXPECT_EQ(6u, state.itemsFound);
  EXPECT_EQ(2u, state.itemsRemaining);
  EXPECT_TRUE(cookies.changed);
  EXPECT_EQ(L"2", ActionOf(L"Cookie: Tracking Cookies"));
  EXPECT_EQ(L"2", ActionOf(L"Trojan: Other"));
  EXPECT_EQ(L"1", ActionOf(L"Adware: Bad"));
}

TEST_F(CookieManagementTest, NothingIgnoredChangesNothing) {
  cookies.AddIgnoreEntry(L"not in the results");
  cookies.ApplyIgnoreList(state);
  EXPECT_FALSE(cookies.changed);
  EXPECT_EQ(8u, state.itemsRemaining);
  EXPECT_EQ(3u, TracesOf(L"Adware: Bad").size());
}

TEST_F(CookieManagementTest, AddAndRemoveIgnoreCase) {
  EXPECT_TRUE(cookies.AddIgnoreEntry(L"C:\\A\\File.exe"));
  EXPECT_TRUE(cookies.AddIgnoreEntry(L"c:\\a\\FILE.EXE"));
  EXPECT_TRUE(cookies.AddIgnoreEntry(L" C:\\A\\File.exe"));  // the space makes it another entry
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\A\\File.exe", L" C:\\A\\File.exe"}), cookies.ignoreList);
  EXPECT_TRUE(cookies.RemoveIgnoreEntry(L"C:\\a\\file.EXE"));
  EXPECT_EQ((std::vector<std::wstring>{L" C:\\A\\File.exe"}), cookies.ignoreList);
  EXPECT_TRUE(cookies.RemoveIgnoreEntry(L"absent"));
  EXPECT_EQ(1u, cookies.ignoreList.size());
}

TEST_F(CookieManagementTest, IgnoreListFileIsOneUtf16Line) {
  cookies.ignoreList = {L"C:\\a b\\x.exe", L" HKCU\\Run", L"q\"&<'>"};
  ASSERT_TRUE(cookies.CreateIgnoreXML());
  EXPECT_EQ(Utf16File(L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Configuration><Traces>"
                      L"<trace DispValue=\"C:\\a b\\x.exe\"/><trace DispValue=\" HKCU\\Run\"/>"
                      L"<trace DispValue=\"q&quot;&amp;&lt;'&gt;\"/></Traces></Configuration>"),
            ReadFileBytes(cookies.IgnoreListPath()));
  CCookieManagement again(folder.Path(), twktest::BuiltResultsFactory);
  again.ignoreList = {L"kept first"};
  again.PopulateIgnoreList();  // appends
  EXPECT_EQ((std::vector<std::wstring>{L"kept first", L"C:\\a b\\x.exe", L" HKCU\\Run", L"q\"&<'>"}), again.ignoreList);

  cookies.ignoreList.clear();
  ASSERT_TRUE(cookies.CreateIgnoreXML());
  EXPECT_EQ(Utf16File(L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Configuration><Traces/></Configuration>"),
            ReadFileBytes(cookies.IgnoreListPath()));
}

TEST_F(CookieManagementTest, ReadingTakesEveryTraceWithDispValueAnywhere) {
  ASSERT_TRUE(WriteFileBytes(cookies.IgnoreListPath(),
                             "<Configuration><Traces><trace DispValue='a'/><trace/><trace dispvalue='no'/></Traces>"
                             "<Other><trace DispValue='b'/></Other></Configuration>"));
  cookies.PopulateIgnoreList();
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), cookies.ignoreList);
  EXPECT_TRUE(CCookieManagement::ReadTraceList(folder / L"missing.xml").empty());
}

TEST_F(CookieManagementTest, UnreadableIgnoreListIsKeptAsideNotLost) {
  const std::string garbage = "<Configuration><Traces><trace DispValue='precious'/>\x01\xff garbage";
  ASSERT_TRUE(WriteFileBytes(cookies.IgnoreListPath(), garbage));
  cookies.PopulateIgnoreList();
  EXPECT_TRUE(cookies.ignoreList.empty());
  EXPECT_EQ(garbage, ReadFileBytes(cookies.IgnoreListPath() + L".unreadable"));
  EXPECT_FALSE(FileExists(cookies.IgnoreListPath()));

  cookies.AddIgnoreEntry(L"new entry");
  ASSERT_TRUE(cookies.CreateIgnoreXML());
  EXPECT_EQ((std::vector<std::wstring>{L"new entry"}), CCookieManagement::ReadTraceList(cookies.IgnoreListPath()));
  EXPECT_EQ(garbage, ReadFileBytes(cookies.IgnoreListPath() + L".unreadable"));

  // Damaged while the program runs: kept aside again, under a new name, before the save.
  ASSERT_TRUE(WriteFileBytes(cookies.IgnoreListPath(), "\xff\xfe<"));
  ASSERT_TRUE(cookies.CreateIgnoreXML());
  EXPECT_EQ("\xff\xfe<", ReadFileBytes(cookies.IgnoreListPath() + L".unreadable-2"));
  EXPECT_EQ(garbage, ReadFileBytes(cookies.IgnoreListPath() + L".unreadable"));
  EXPECT_EQ((std::vector<std::wstring>{L"new entry"}), CCookieManagement::ReadTraceList(cookies.IgnoreListPath()));
  EXPECT_FALSE(FileExists(cookies.IgnoreListPath() + L".new"));
}

TEST_F(CookieManagementTest, MissingFilesReadAsEmptyAndAreNotReported) {
  cookies.PopulateIgnoreList();
  cookies.PopulateFilterDatabase();
  EXPECT_TRUE(cookies.ignoreList.empty());
  EXPECT_TRUE(cookies.filterDatabase.empty());
  EXPECT_FALSE(FileExists(cookies.IgnoreListPath() + L".unreadable"));
}

TEST_F(CookieManagementTest, ResultsThatCannotBeOpenedStayAsTheyAre) {
  const std::string before = ReadFileBytes(state.resultsPath);
  CCookieManagement noLibrary(folder.Path(), [] { return twk::CComPtr<IDDZScanResultsFactory>(); });
  noLibrary.AddIgnoreEntry(L"C:\\Program Files\\Bad\\bad.exe");
  noLibrary.ApplyIgnoreList(state);
  EXPECT_EQ(before, ReadFileBytes(state.resultsPath));
  EXPECT_EQ(8u, state.itemsRemaining);

  const std::wstring broken = folder / L"broken.xml";
  ASSERT_TRUE(WriteFileBytes(broken, "<threats><threat"));
  ScanResultsState brokenState;
  brokenState.resultsPath = broken;
  cookies.ApplyCookieFilter(brokenState);
  EXPECT_EQ("<threats><threat", ReadFileBytes(broken));
  EXPECT_EQ((std::vector<std::wstring>{L"ERROR:Couldn't get scan results factory\n",
                                       L"ERROR:Couldn't get scan results serialized object\n"}),
            debug);
}

// The engine's results object, except that saving fails (a full disk, a file the
// service holds open).
class UnsavableResults : public ddz::ComObject<IDDZScanResults> {
 public:
  explicit UnsavableResults(twk::CComPtr<IDDZScanResults> real) : real_(std::move(real)) {}
  IDDZThreatCollection* STDMETHODCALLTYPE Threats() override { return real_->Threats(); }
  void STDMETHODCALLTYPE SaveToFile(const wchar_t*, long* errorFlag, long) override { *errorFlag = 1; }

 private:
  twk::CComPtr<IDDZScanResults> real_;
};

class UnsavableFactory : public ddz::ComObject<IDDZScanResultsFactory> {
 public:
  IDDZScanResults* STDMETHODCALLTYPE CreateFromFile(const wchar_t* path, long* errorFlag) override {
    auto real = twk::CComPtr<IDDZScanResults>::Attach(twktest::BuiltResultsFactory()->CreateFromFile(path, errorFlag));
    return new UnsavableResults(std::move(real));
  }
};

TEST_F(CookieManagementTest, FailedSaveIsReported) {
  const std::string before = ReadFileBytes(state.resultsPath);
  CCookieManagement unsavable(folder.Path(), [] {
    return twk::CComPtr<IDDZScanResultsFactory>::Attach(new UnsavableFactory());
  });
  unsavable.AddIgnoreEntry(L"NoCommaValue");
  unsavable.ApplyIgnoreList(state);
  EXPECT_EQ((std::vector<std::wstring>{L"Saving failed"}), debug);
  EXPECT_EQ(before, ReadFileBytes(state.resultsPath));
}

TEST(CookiesDatabase, ShipsWithTrackingCookieEntries) {
  const auto entries = CCookieManagement::ReadTraceList(twktest::DistFolder() + L"\\CookiesDatabase.xml");
  EXPECT_GE(entries.size(), 30u);
  EXPECT_NE(entries.end(), std::find(entries.begin(), entries.end(), L"doubleclick"));
  for (const auto& entry : entries) EXPECT_FALSE(entry.empty());
}

}  // namespace
