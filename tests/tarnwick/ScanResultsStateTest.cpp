#include "ScanResultsState.h"

#include <gtest/gtest.h>

#include "ResultsDiagnostics.h"
#include "ScanResultsDocument.h"
#include "ResultsFixture.h"

namespace {

struct PathCase {
  const wchar_t* path;
  bool usable;
};

class UsablePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(UsablePath, NeedsLowerCaseXml) { EXPECT_EQ(GetParam().usable, IsUsableResultsPath(GetParam().path)); }

INSTANTIATE_TEST_SUITE_P(Paths, UsablePath,
                         ::testing::Values(PathCase{L"C:\\R\\ScanResults.xml", true}, PathCase{L"C:\\R\\ScanResults.XML", false},
                                           PathCase{L"C:\\R\\a.xml.bak", true}, PathCase{L"C:\\R\\ScanResults.txt", false},
                                           PathCase{L"", false}, PathCase{L".xml", true}));

TEST(ScanResultsState, EnsureAsksOnceAndStores) {
  ScanResultsState state;
  int asked = 0;
  EXPECT_TRUE(EnsureResultsPath(state, [&] { ++asked; return std::wstring(L"C:\\R\\1.xml"); }));
  EXPECT_EQ(1, asked);
  EXPECT_EQ(L"C:\\R\\1.xml", state.resultsPath);
  EXPECT_TRUE(EnsureResultsPath(state, [&] { ++asked; return std::wstring(L"C:\\R\\2.xml"); }));
  EXPECT_EQ(1, asked);  // a usable path is not asked for again
  state.resultsPath = L"C:\\R\\1.XML";
  EXPECT_FALSE(EnsureResultsPath(state, [&] { ++asked; return std::wstring(L""); }));
  EXPECT_EQ(2, asked);
}

TEST(ScanResultsState, CounterRules) {
  ScanResultsState state;
  state.TakeScanCounts(3, 2, 1, 4);
  EXPECT_EQ(10u, state.itemsFound);
  EXPECT_EQ(10u, state.itemsRemaining);
  state.itemsFound = 0;
  state.OnScanCompleted();
  EXPECT_EQ(10u, state.itemsFound);
  state.OnCookieTraceRemoved();
  EXPECT_EQ(2u, state.cookiesFound);
  EXPECT_EQ(9u, state.itemsFound);
  EXPECT_EQ(9u, state.itemsRemaining);
  state.OnIgnoredTraceRemoved();
  EXPECT_EQ(9u, state.itemsFound);
  EXPECT_EQ(8u, state.itemsRemaining);
  state.itemsToFix = 5;
  state.OnCleaningComplete();
  EXPECT_EQ(0u, state.itemsFound);
  EXPECT_EQ(0u, state.itemsToFix);
  ScanResultsState empty;
  empty.OnIgnoredTraceRemoved();  // plain unsigned arithmetic
  EXPECT_EQ(0xFFFFFFFFu, empty.itemsRemaining);
}

TEST(ScanResultsDocument, UnusablePathReportsAndLoadsNothing) {
  std::vector<std::wstring> debug;
  auto sink = SetResultsDebugOutputSink([&](const std::wstring& t) { debug.push_back(t); });
  int reported = 0;
  auto handler = SetResultsUnavailableHandler([&] { ++reported; });
  ScanResultsState state;
  CXmlDocumentWrapper doc;
  EXPECT_FALSE(LoadResultsForDisplay(state, [] { return std::wstring(L"C:\\none.XML"); }, doc));
  SetResultsDebugOutputSink(sink);
  SetResultsUnavailableHandler(handler);
  EXPECT_EQ(1, reported);
  ASSERT_EQ(1u, debug.size());
  EXPECT_EQ(L"ERROR:Scan results are not available \n", debug[0]);
  EXPECT_TRUE(doc.Root().IsEmpty());
}

TEST(ScanResultsDocument, LoadsTheFileAtTheStoredPath) {
  twktest::TempFolder folder;
  ScanResultsState state;
  state.resultsPath = twktest::WriteResults(folder, L"<threats><threat name='A'/></threats>");
  CXmlDocumentWrapper doc;
  ASSERT_TRUE(LoadResultsForDisplay(state, nullptr, doc));
  EXPECT_EQ(L"threats", doc.Root().Name());
  state.resultsPath = folder / L"missing.xml";
  ASSERT_TRUE(LoadResultsForDisplay(state, nullptr, doc));
  EXPECT_TRUE(doc.Root().IsEmpty());
}

}  // namespace
