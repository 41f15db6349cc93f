#include "ResultsTreeBuilder.h"

#include <gtest/gtest.h>

#include "RiskClass.h"
#include "XmlDocumentWrapper.h"

namespace {

std::vector<ResultsTreeItem> Build(const std::wstring& xml) {
  CXmlDocumentWrapper doc;
  EXPECT_TRUE(doc.LoadXML(xml)) << std::string(doc.ParseErrorReason().begin(), doc.ParseErrorReason().end());
  return BuildResultsTree(doc.Root());
}

std::vector<std::wstring> Texts(const std::vector<ResultsTreeItem>& items) {
  std::vector<std::wstring> texts;
  for (const auto& item : items) texts.push_back(item.text);
  return texts;
}

TEST(ResultsTreeBuilder, ThreatsAndTracesInDocumentOrder) {
  auto items = Build(
      L"<threats>"
      L"<threat name='Severe one' level='1'><trace dispValue='file,C:\\a.exe'/><trace dispValue='reg,HKCU\\Run\\a'/></threat>"
      L"<threat name='High one' level='3'><threatAdviceDetails>x</threatAdviceDetails><trace dispValue='proc,b.exe'/></threat>"
      L"</threats>");
  ASSERT_EQ(5u, items.size());
  EXPECT_EQ((std::vector<std::wstring>{L"Severe one", L"file,C:\\a.exe", L"reg,HKCU\\Run\\a", L"High one", L"proc,b.exe"}),
            Texts(items));
  EXPECT_TRUE(items[0].bold);
  EXPECT_EQ(-1, items[0].parent);
  EXPECT_EQ(0, items[0].image);
  EXPECT_FALSE(items[1].bold);
  EXPECT_EQ(0, items[1].parent);
  EXPECT_EQ(5, items[1].image);
  EXPECT_EQ(0, items[2].parent);
  EXPECT_EQ(1, items[3].image);
  EXPECT_EQ(-1, items[3].parent);
  EXPECT_EQ(3, items[4].parent);
  EXPECT_EQ(6, items[4].image);
}

struct LevelCase {
  const wchar_t* level;  // nullptr: no attribute
  int threatImage;
  int traceImage;
};

class Levels : public ::testing::TestWithParam<LevelCase> {};

TEST_P(Levels, MapToRiskImages) {
  const std::wstring level = GetParam().level ? std::wstring(L" level='") + GetParam().level + L"'" : L"";
  auto items = Build(L"<threats><threat name='T'" + level + L"><trace dispValue='v'/></threat></threats>");
  ASSERT_EQ(2u, items.size());
  EXPECT_EQ(GetParam().threatImage, items[0].image);
  EXPECT_EQ(GetParam().traceImage, items[1].image);
}

INSTANTIATE_TEST_SUITE_P(Table, Levels,
                         ::testing::Values(LevelCase{L"1", 0, 5}, LevelCase{L"2", 1, 6}, LevelCase{L"3", 1, 6},
                                           LevelCase{L"4", 2, 7}, LevelCase{L"5", 2, 7}, LevelCase{L"6", 2, 7},
                                           LevelCase{L"0", 2, 7}, LevelCase{L"", 2, 7}, LevelCase{L" 1", 2, 7},
                                           LevelCase{L"01", 2, 7}, LevelCase{nullptr, 2, 7}));

TEST(ResultsTreeBuilder, ThreatLeftAloneGivesNoItems) {
  auto items = Build(
      L"<threats><threat name='Kept' level='2' actionRequested='1'><trace dispValue='a'/></threat>"
      L"<threat name='Alone' level='1' actionRequested='2'><trace dispValue='hidden'/></threat>"
      L"<threat name='Next' level='4'><trace dispValue='b'/></threat></threats>");
  EXPECT_EQ((std::vector<std::wstring>{L"Kept", L"a", L"Next", L"b"}), Texts(items));
  EXPECT_EQ(2, items[3].parent);
}

TEST(ResultsTreeBuilder, TracesWithoutDisplayTextGiveNoItem) {
  auto items = Build(
      L"<threats><threat name='T' level='1'><trace dispValue=''/><trace/><trace DispValue='wrong case'/>"
      L"<trace dispValue='shown'/></threat></threats>");
  EXPECT_EQ((std::vector<std::wstring>{L"T", L"shown"}), Texts(items));
}

TEST(ResultsTreeBuilder, OtherElementsAreTransparent) {
  auto items = Build(
      L"<scan><group><threat name='Wrapped' level='2'><details><trace dispValue='deep'/></details></threat></group>"
      L"<Threat name='wrong case'/><threat name='Top' level='1'/></scan>");
  EXPECT_EQ((std::vector<std::wstring>{L"Wrapped", L"deep", L"Top"}), Texts(items));
  EXPECT_EQ(-1, items[0].parent);
  EXPECT_EQ(0, items[1].parent);
  EXPECT_EQ(-1, items[2].parent);
}

TEST(ResultsTreeBuilder, TraceImageFollowsTheLastInsertedThreat) {
  // A trace outside any threat takes the risk of the threat inserted last.
  auto items = Build(
      L"<threats><threat name='S' level='1'/><trace dispValue='loose'/>"
      L"<threat name='Skipped' level='3' actionRequested='2'/><trace dispValue='still severe'/></threats>");
  ASSERT_EQ(3u, items.size());
  EXPECT_EQ(5, items[1].image);
  EXPECT_EQ(-1, items[1].parent);
  EXPECT_EQ(5, items[2].image);
}

TEST(ResultsTreeBuilder, EmptyDocumentGivesNoItems) {
  EXPECT_TRUE(BuildResultsTree(CXmlNodeWrapper()).empty());
  EXPECT_TRUE(Build(L"<threats/>").empty());
}

TEST(RiskClass, LowRiskRule) {
  EXPECT_TRUE(IsLowRiskThreat(5, L"Adware: Something"));
  EXPECT_FALSE(IsLowRiskThreat(5, L"Cookie: Tracking Cookies"));
  EXPECT_TRUE(IsLowRiskThreat(5, L"cookie: tracking cookies"));
  EXPECT_FALSE(IsLowRiskThreat(4, L"Adware: Something"));
}

}  // namespace
