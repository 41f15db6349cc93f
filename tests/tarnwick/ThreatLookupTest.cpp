#include "ThreatLookup.h"

#include <gtest/gtest.h>

namespace {

class ThreatLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(doc.LoadXML(
        L"<threats>"
        L"<threat name='Plain' level='2' category='Adware'><threatAdviceDetails>Remove it.</threatAdviceDetails></threat>"
        L"<threat name=\"Bob's Toolbar\" level='3' category='Toolbar'><threatAdviceDetails>Apostrophe.</threatAdviceDetails></threat>"
        L"<threat name='The &quot;Helper&quot;' level='4' category='Hijacker'><threatAdviceDetails>Quotes.</threatAdviceDetails></threat>"
        L"<threat name='It&apos;s &quot;both&quot;&apos;' level='1' category='Trojan'><threatAdviceDetails>Both.</threatAdviceDetails></threat>"
        L"<threat name='x' level='5' category='Decoy'><threatAdviceDetails>Decoy.</threatAdviceDetails></threat>"
        L"</threats>"));
  }
  CXmlDocumentWrapper doc;
};

struct LookupCase {
  const wchar_t* name;
  const wchar_t* level;
  const wchar_t* category;
  const wchar_t* advice;
};

class Names : public ThreatLookupTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(Names, FindExactlyTheirOwnThreat) {
  const auto details = LookUpThreat(doc, GetParam().name);
  EXPECT_EQ(GetParam().level, details.level);
  EXPECT_EQ(GetParam().category, details.category);
  EXPECT_EQ(GetParam().advice, details.advice);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Names,
    ::testing::Values(LookupCase{L"Plain", L"2", L"Adware", L"Remove it."},
                      LookupCase{L"Bob's Toolbar", L"3", L"Toolbar", L"Apostrophe."},
                      LookupCase{L"The \"Helper\"", L"4", L"Hijacker", L"Quotes."},
                      LookupCase{L"It's \"both\"'", L"1", L"Trojan", L"Both."},
                      LookupCase{L"plain", L"", L"", L""},
                      LookupCase{L"Absent", L"", L"", L""},
                      LookupCase{L"", L"", L"", L""},
                      // A crafted name must not select another threat.
                      LookupCase{L"nothing' or @name='x", L"", L"", L""},
                      LookupCase{L"nothing\" or @name=\"x", L"", L"", L""},
                      LookupCase{L"']|//threat[@name='x", L"", L"", L""}));

TEST(XPathLiteral, Forms) {
  EXPECT_EQ(L"'abc'", XPathLiteral(L"abc"));
  EXPECT_EQ(L"\"a'b\"", XPathLiteral(L"a'b"));
  EXPECT_EQ(L"'a\"b'", XPathLiteral(L"a\"b"));
  EXPECT_EQ(L"concat('a', \"'\", '\"b', '')", XPathLiteral(L"a'\"b"));
  EXPECT_EQ(L"''", XPathLiteral(L""));
}

TEST(ThreatLookup, EmptyDocumentFindsNothing) {
  CXmlDocumentWrapper empty;
  EXPECT_EQ(L"", LookUpThreat(empty, L"Plain").level);
}

}  // namespace
