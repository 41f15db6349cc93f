#include "StringsDocument.h"

#include <windows.h>

#include <cwctype>
#include <vector>

#include <gtest/gtest.h>

#include "ActivityLog.h"
#include "ChildProcess.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "WinHandle.h"

namespace {

struct MarkerCase {
  const wchar_t* raw;
  const wchar_t* replaced;
};

class Markers : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(Markers, AreReplacedInOrder) { EXPECT_EQ(GetParam().replaced, ApplyStringsMarkers(GetParam().raw)); }

INSTANTIATE_TEST_SUITE_P(
    Table, Markers,
    ::testing::Values(MarkerCase{L"Found @ items in ~DATA~", L"Found %d items in %s"},
                      MarkerCase{L"~APPNAME~~NEWLINE~@@", L"Tarnwick Pro\r\n%d%d"},
                      MarkerCase{L"~DAT~A~ ~APPNAME", L"~DAT~A~ ~APPNAME"},
                      // The product name holds no marker, so later steps cannot touch it.
                      MarkerCase{L"<S1 a=\"~APPNAME~\">x</S1>", L"<S1 a=\"Tarnwick Pro\">x</S1>"},
                      MarkerCase{L"", L""}));

CXmlDocumentWrapper Loaded(const std::wstring& raw) {
  CXmlDocumentWrapper doc;
  std::wstring reason;
  EXPECT_TRUE(LoadStringsDocument(doc, ApplyStringsMarkers(raw), reason)) << reason;
  return doc;
}

TEST(StringsDocument, LooksUpTextsByNumberAnywhere) {
  auto doc = Loaded(
      L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Root><Other><Strings>"
      L"<S1>Found @ threats in ~DATA~</S1><S2 title=\"~APPNAME~\">Line~NEWLINE~</S2>"
      L"<S3>Mixed <b>bold</b> text</S3><S10> padded </S10></Strings></Other></Root>");
  EXPECT_EQ(L"Found %d threats in %s", GetStringById(doc, 1));
  // The parser turns the CR LF of the marker into the XML line break, LF.
  EXPECT_EQ(L"Line\n", GetStringById(doc, 2));
  EXPECT_EQ(L"Tarnwick Pro", doc.SelectSingleNode(L"//S2").GetValue(L"title"));
  EXPECT_EQ(L"Mixed bold text", GetStringById(doc, 3));
  EXPECT_EQ(L" padded ", GetStringById(doc, 10));
  std::wstring text = L"stale";
  EXPECT_TRUE(GetStringById(doc, 0, text));
  EXPECT_EQ(L"", text);
  text = L"stale";
  EXPECT_TRUE(GetStringById(doc, 4, text));
  EXPECT_EQ(L"", text);
  EXPECT_EQ(L"", GetStringById(doc, -1));
}

TEST(StringsDocument, MalformedTextLeavesAnEmptyDocument) {
  CXmlDocumentWrapper doc = Loaded(L"<Strings><S1>old</S1></Strings>");
  std::wstring reason;
  EXPECT_FALSE(LoadStringsDocument(doc, L"<Strings><S1>x</S2></Strings>", reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_TRUE(doc.Root().IsEmpty());
  EXPECT_EQ(L"", GetStringById(doc, 1));
}

TEST(StringsDocument, ResourceBytesAreHalvedAndAnOddByteIsLost) {
  const wchar_t text[] = L"<a/>";
  EXPECT_EQ(L"<a/>", TextFromResourceBytes(text, 8));
  EXPECT_EQ(L"<a/", TextFromResourceBytes(text, 7));
  EXPECT_EQ(L"", TextFromResourceBytes(text, 1));
  EXPECT_EQ(L"", TextFromResourceBytes(nullptr, 8));
}

// A copy of a built language module whose strings resource is replaced by bytes.
class PatchedModule {
 public:
  PatchedModule(const twktest::TempFolder& folder, const std::wstring& source, UINT id, const std::string& bytes)
      : path_(folder / L"Patched.dll") {
    EXPECT_TRUE(CopyFileW(source.c_str(), path_.c_str(), FALSE));
    HMODULE original = LoadLibraryExW(source.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(nullptr, original);
    std::vector<WORD> languages;
    EnumResourceLanguagesW(
        original, MAKEINTRESOURCEW(kHtmlResourceType), MAKEINTRESOURCEW(id),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) -> BOOL {
          reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    FreeLibrary(original);
    EXPECT_FALSE(languages.empty());
    HANDLE update = BeginUpdateResourceW(path_.c_str(), FALSE);
    EXPECT_NE(nullptr, update);
    for (WORD language : languages) {
      EXPECT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(kHtmlResourceType), MAKEINTRESOURCEW(id), language,
                                  const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    }
    EXPECT_TRUE(EndUpdateResourceW(update, FALSE));
    module_.reset(LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(module_);
  }
  HMODULE get() const { return module_.get(); }

 private:
  std::wstring path_;
  twk::CModule module_;
};

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::wstring MainModulePath() { return twktest::DistFolder() + L"\\TWKLang.dll"; }
std::wstring UpdaterModulePath() { return twktest::DistFolder() + L"\\TWKDefsUpdaterLang.dll"; }

TEST(StringsResource, MissingResourceGivesZero) {
  twk::CModule module(LoadLibraryExW(MainModulePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module);
  CXmlDocumentWrapper doc;
  int reports = 0;
  EXPECT_EQ(0, LoadStringsResource(module.get(), 999, doc, [&](const std::wstring&) { ++reports; }));
  EXPECT_EQ(0, reports);
  EXPECT_EQ(L"", GetXMLFromHTMLResource(module.get(), 999));
}

TEST(StringsResource, MalformedResourceReportsAndGivesEmptyTexts) {
  twktest::TempFolder folder;
  PatchedModule module(folder, MainModulePath(), kMainStringsResource,
                       Utf16Bytes(L"<Strings><S101>Tarnwick Pro</S102></Strings>"));
  CXmlDocumentWrapper doc;
  std::vector<std::wstring> reasons;
  EXPECT_EQ(1, LoadStringsResource(module.get(), kMainStringsResource, doc,
                                   [&](const std::wstring& reason) { reasons.push_back(reason); }));
  ASSERT_EQ(1u, reasons.size());
  EXPECT_FALSE(reasons[0].empty());
  EXPECT_EQ(L"", GetStringById(doc, 101));
}

TEST(StringsResource, OddSizedResourceLosesItsLastByte) {
  twktest::TempFolder folder;
  std::string bytes = Utf16Bytes(L"<Strings><S5>@ left</S5></Strings>");
  bytes.push_back('\x41');
  PatchedModule module(folder, MainModulePath(), kMainStringsResource, bytes);
  EXPECT_EQ(L"<Strings><S5>@ left</S5></Strings>", GetXMLFromHTMLResource(module.get(), kMainStringsResource));
  CXmlDocumentWrapper doc;
  EXPECT_EQ(1, LoadStringsResource(module.get(), kMainStringsResource, doc, nullptr));
  EXPECT_EQ(L"%d left", GetStringById(doc, 5));
}

TEST(StringsResource, LoggedVariantWritesTheParserReason) {
  twktest::TempFolder folder;
  PatchedModule module(folder, UpdaterModulePath(), kUpdaterStringsResource, Utf16Bytes(L"<Strings><S1>"));
  CActivityLog log(folder.Path(), L"Activity.log");
  CXmlDocumentWrapper doc;
  EXPECT_EQ(1, LoadStringsResourceLogged(module.get(), kUpdaterStringsResource, doc, log, L"LoadLanguage"));
  const std::string written = twktest::ReadFileBytes(log.Path());
  EXPECT_NE(std::string::npos, written.find("Critian StringsFile Error. Reason=")) << written;
  EXPECT_EQ(L"", GetStringById(doc, 1));
}

// The shipped language modules.
class ShippedTexts : public ::testing::Test {
 protected:
  static void Load(const std::wstring& path, UINT id, CXmlDocumentWrapper& doc, std::wstring& raw) {
    twk::CModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module) << "missing " << std::string(path.begin(), path.end());
    raw = GetXMLFromHTMLResource(module.get(), id);
    std::vector<std::wstring> reasons;
    ASSERT_EQ(1, LoadStringsResource(module.get(), id, doc, [&](const std::wstring& r) { reasons.push_back(r); }));
    ASSERT_TRUE(reasons.empty()) << std::string(reasons[0].begin(), reasons[0].end());
  }
  void SetUp() override {
    Load(MainModulePath(), kMainStringsResource, main, mainRaw);
    Load(UpdaterModulePath(), kUpdaterStringsResource, updater, updaterRaw);
  }
  CXmlDocumentWrapper main, updater;
  std::wstring mainRaw, updaterRaw;
};

TEST_F(ShippedTexts, NumberSlotsStandAlone) {
  // "@" becomes "%d": anywhere else (an address, a comment) it would be a stray slot.
  for (const std::wstring* raw : {&mainRaw, &updaterRaw}) {
    for (std::size_t at = raw->find(L'@'); at != std::wstring::npos; at = raw->find(L'@', at + 1)) {
      const bool wordBefore = at > 0 && std::iswalnum((*raw)[at - 1]);
      const bool wordAfter = at + 1 < raw->size() && std::iswalnum((*raw)[at + 1]);
      EXPECT_FALSE(wordBefore || wordAfter) << "stray @ at " << at << ": "
                                            << std::string(raw->begin() + (at > 20 ? at - 20 : 0),
                                                           raw->begin() + std::min(raw->size(), at + 20));
    }
    EXPECT_EQ(std::wstring::npos, raw->find(L"<!--@")) << "slot in a comment";
  }
  auto slots = main.SelectNodes(L"//Strings/*[contains(., '%d')]");
  for (long i = 0; i < slots.Count(); ++i) {
    const std::wstring text = slots.GetText(i);
    const std::wstring name = slots.Node(i).Name();
    EXPECT_EQ(text.find(L"%d"), text.rfind(L"%d")) << "more than one slot in " << std::string(name.begin(), name.end());
  }
  EXPECT_EQ(0, updater.SelectNodes(L"//Strings/*[contains(., '%d')]").Count());
}

TEST_F(ShippedTexts, ConstrainedValuesHold) {
  EXPECT_EQ(L"Tarnwick Pro", GetStringById(main, 101));
  ASSERT_FALSE(GetStringById(updater, 99002).empty());
  EXPECT_EQ(L"Tarnwick Pro - " + GetStringById(updater, 99002), GetStringById(main, 20049));
  EXPECT_EQ(GetStringById(main, 20049), GetStringById(updater, 99027));
  EXPECT_EQ(L"Tarnwick Pro - Download Definitions", GetStringById(updater, 99028));
  for (int number : {9057, 9058, 21009, 21036}) {
    EXPECT_NE(std::wstring::npos, GetStringById(main, number).find(L"%d")) << number;
  }
  const struct {
    const CXmlDocumentWrapper* doc;
    int number;
    std::vector<const wchar_t*> markers;
  } markers[] = {{&main, 2155, {L"~REVIEWERRORS~"}},
                 {&main, 117, {L"~MONTH~", L"~YEAR~"}},
                 {&updater, 99004, {L"~VERSION~"}},
                 {&updater, 99065, {L"~DOWNLOADED~", L"~TOTALSIZE~", L"~TIME~"}},
                 {&updater, 99056, {L"~CONTINUE~"}},
                 {&updater, 99057, {L"~CONTINUE~"}},
                 {&updater, 99058, {L"~CONTINUE~"}}};
  for (const auto& m : markers) {
    for (const wchar_t* marker : m.markers) {
      EXPECT_NE(std::wstring::npos, GetStringById(*m.doc, m.number).find(marker)) << m.number;
    }
  }
  const wchar_t* months[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                             L"July",    L"August",   L"September", L"October", L"November", L"December"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(months[i], GetStringById(main, 104 + i));
  EXPECT_EQ(L"Processes", GetStringById(main, 19915));
  EXPECT_EQ(L"Files/Folders", GetStringById(main, 21234));
  EXPECT_EQ(L"Registry", GetStringById(main, 19913));
  EXPECT_EQ(L"Cookies", GetStringById(main, 19914));
}

}  // namespace
