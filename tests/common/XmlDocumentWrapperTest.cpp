#include "XmlDocumentWrapper.h"

#include <gtest/gtest.h>

#include "FileBytes.h"
#include "TempFolder.h"
#include "XmlException.h"

namespace {

CXmlDocumentWrapper Parsed(const std::wstring& text) {
  CXmlDocumentWrapper doc;
  doc.Create();
  EXPECT_TRUE(doc.LoadXML(text)) << doc.ParseErrorReason();
  return doc;
}

TEST(XmlDocumentWrapper, SelectsAndReadsNodes) {
  auto doc = Parsed(
      L"<threats><threat name='A' level='1'><trace dispValue='f,C:\\a'/><trace dispValue='r,HKCU'/></threat>"
      L"<threat name='B'><threatAdviceDetails>Remove <b>now</b>.</threatAdviceDetails></threat></threats>");
  EXPECT_EQ(L"threats", doc.Root().Name());
  auto threats = doc.SelectNodes(L"//threat");
  ASSERT_EQ(2, threats.Count());
  EXPECT_EQ(L"A", threats.GetValue(0, L"name"));
  EXPECT_EQ(L"", threats.GetValue(1, L"level"));  // missing attribute
  EXPECT_FALSE(threats.Node(1).HasAttribute(L"level"));
  EXPECT_TRUE(threats.Node(0).HasAttribute(L"level"));
  EXPECT_TRUE(threats.Node(2).IsEmpty());
  EXPECT_EQ(L"Remove now.", threats.Node(1).SelectSingleNode(L"threatAdviceDetails").GetText());
  auto traces = threats.Node(0).ChildNodes();
  ASSERT_EQ(2, traces.Count());
  EXPECT_EQ(L"r,HKCU", traces.GetValue(1, L"dispValue"));
  EXPECT_TRUE(doc.SelectSingleNode(L"//nothing").IsEmpty());
}

TEST(XmlDocumentWrapper, EmptyWrappersAnswerEmpty) {
  CXmlNodeWrapper node;
  EXPECT_TRUE(node.IsEmpty());
  EXPECT_EQ(L"", node.GetValue(L"x"));
  EXPECT_EQ(L"", node.GetText());
  EXPECT_EQ(0, node.ChildNodes().Count());
  CXmlNodeListWrapper list;
  EXPECT_EQ(0, list.Count());
  CXmlDocumentWrapper doc;
  EXPECT_TRUE(doc.Root().IsEmpty());
  doc.Create();
  EXPECT_TRUE(doc.Root().IsEmpty());
}

TEST(XmlDocumentWrapper, ParseErrorGivesFalseAndAReason) {
  CXmlDocumentWrapper doc;
  EXPECT_FALSE(doc.LoadXML(L"<Strings><S1>x</S2></Strings>"));
  EXPECT_FALSE(doc.ParseErrorReason().empty());
  EXPECT_TRUE(doc.Root().IsEmpty());
}

TEST(XmlDocumentWrapper, InvalidPathThrowsWithTheResultCode) {
  auto doc = Parsed(L"<a/>");
  try {
    doc.SelectSingleNode(L"//threat[@name='it's']");
    FAIL() << "no exception";
  } catch (const CXmlException& e) {
    EXPECT_TRUE(FAILED(e.Result()));
  }
}

TEST(XmlDocumentWrapper, BuildsAndSavesAConfigurationFile) {
  twktest::TempFolder folder;
  CXmlDocumentWrapper doc;
  ASSERT_TRUE(doc.CreateConfigurationDocument());
  auto traces = doc.Root().AppendChild(doc.CreateElement(L"Traces"));
  auto trace = traces.AppendChild(doc.CreateElement(L"trace"));
  trace.SetValue(L"DispValue", L"C:\\Program Files\\x \"y\" & 'z'.exe");
  const std::wstring path = folder / L"out.xml";
  ASSERT_TRUE(twktest::WriteFileBytes(path, "old content"));
  ASSERT_TRUE(doc.SaveAsUtf16(path));
  EXPECT_FALSE(twktest::FileExists(path + L".new"));
  const std::wstring written = twktest::AsUtf16(twktest::ReadFileBytes(path));
  EXPECT_EQ(std::wstring(L"\xFEFF<?xml version=\"1.0\" encoding=\"utf-16\"?><Configuration><Traces><trace DispValue="),
            written.substr(0, 80));
  EXPECT_EQ(std::wstring::npos, written.find(L'\n'));

  CXmlDocumentWrapper back;
  ASSERT_TRUE(back.Load(path)) << std::string(back.ParseErrorReason().begin(), back.ParseErrorReason().end());
  auto found = back.SelectNodes(L"//trace[@DispValue]");
  ASSERT_EQ(1, found.Count());
  EXPECT_EQ(L"C:\\Program Files\\x \"y\" & 'z'.exe", found.GetValue(0, L"DispValue"));
  EXPECT_FALSE(doc.SaveAsUtf16(folder / L"no such folder\\out.xml"));
}

TEST(XmlDocumentWrapper, ParserSaveOfAPlainDocumentLoadsBack) {
  twktest::TempFolder folder;
  auto doc = Parsed(L"<threats><threat name='a&amp;b'/></threats>");
  const std::wstring path = folder / L"results.xml";
  ASSERT_TRUE(doc.Save(path));
  CXmlDocumentWrapper back;
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(L"a&b", back.SelectSingleNode(L"//threat").GetValue(L"name"));
  EXPECT_FALSE(doc.Save(folder / L"no such folder\\out.xml"));
}

TEST(XmlDocumentWrapper, CopiesShareTheDocument) {
  auto doc = Parsed(L"<r><n/></r>");
  CXmlDocumentWrapper copy = doc;
  copy.Root().SelectSingleNode(L"n").SetValue(L"k", L"v");
  EXPECT_EQ(L"v", doc.SelectSingleNode(L"//n").GetValue(L"k"));
}

TEST(XmlDocumentWrapper, LoadOfMissingFileIsFalse) {
  twktest::TempFolder folder;
  CXmlDocumentWrapper doc;
  EXPECT_FALSE(doc.Load(folder / L"absent.xml"));
  EXPECT_TRUE(doc.Root().IsEmpty());
}

}  // namespace
