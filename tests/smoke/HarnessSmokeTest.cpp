// Proves that the test machine gives the real platform: registry, XML parser, kernel
// objects, windows and child processes.
#include <windows.h>
#include <msxml2.h>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "FileBytes.h"
#include "ScratchRegKey.h"
#include "TempFolder.h"
#include "TestWindow.h"
#include "WinHandle.h"

using namespace twktest;

namespace {
// IXMLDOMDocument2; mingw-w64 declares the interface but ships no IID for it.
constexpr GUID kIidXmlDocument2 = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
}  // namespace

TEST(HarnessSmoke, ScratchRegistryKeyHoldsValuesAndIsRemoved) {
  std::wstring subKey;
  {
    ScratchRegKey scratch;
    subKey = scratch.SubKey();
    ASSERT_TRUE(SetRegString(scratch.Root(), subKey, L"Name", L"value"));
    EXPECT_EQ(GetRegString(scratch.Root(), subKey, L"Name"), std::optional<std::wstring>(L"value"));
  }
  twk::CRegKey key;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, key.put()), ERROR_SUCCESS);
}

TEST(HarnessSmoke, RegValueRestorerPutsBackAbsenceAndValue) {
  ScratchRegKey scratch;
  {
    RegValueRestorer restore(scratch.Root(), scratch.SubKey(), L"Gone");
    SetRegString(scratch.Root(), scratch.SubKey(), L"Gone", L"temporary");
  }
  EXPECT_FALSE(GetRegString(scratch.Root(), scratch.SubKey(), L"Gone").has_value());
  SetRegString(scratch.Root(), scratch.SubKey(), L"Kept", L"original");
  {
    RegValueRestorer restore(scratch.Root(), scratch.SubKey(), L"Kept");
    SetRegString(scratch.Root(), scratch.SubKey(), L"Kept", L"changed");
  }
  EXPECT_EQ(GetRegString(scratch.Root(), scratch.SubKey(), L"Kept"), std::optional<std::wstring>(L"original"));
}

TEST(HarnessSmoke, XmlParserSelectsWithXPath) {
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(L"Msxml2.DOMDocument", &clsid), S_OK);
  IXMLDOMDocument2* doc = nullptr;
  ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDocument2,
                             reinterpret_cast<void**>(&doc)), S_OK);
  BSTR text = SysAllocString(L"<r><Strings><S1>one</S1><S2>two</S2></Strings><t name='a'/></r>");
  VARIANT_BOOL ok = VARIANT_FALSE;
  EXPECT_EQ(doc->loadXML(text, &ok), S_OK);
  EXPECT_EQ(ok, VARIANT_TRUE);
  SysFreeString(text);
  BSTR path = SysAllocString(L"//Strings/S2");
  IXMLDOMNode* node = nullptr;
  ASSERT_EQ(doc->selectSingleNode(path, &node), S_OK);
  SysFreeString(path);
  BSTR value = nullptr;
  node->get_text(&value);
  EXPECT_STREQ(value, L"two");
  SysFreeString(value);
  node->Release();
  doc->Release();
}

TEST(HarnessSmoke, NamedMutexIsSeenByASecondOpener) {
  twk::CHandle first(CreateMutexW(nullptr, FALSE, L"TarnwickHarnessSmokeMutex"));
  ASSERT_TRUE(first);
  EXPECT_EQ(GetLastError(), 0u);
  twk::CHandle second(CreateMutexW(nullptr, FALSE, L"TarnwickHarnessSmokeMutex"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(HarnessSmoke, TopLevelWindowReceivesPostedMessages) {
  TestWindow window;
  ASSERT_TRUE(IsWindow(window.Handle()));
  int seen = 0;
  window.onMessage = [&](HWND, UINT msg, WPARAM wp, LPARAM, bool& handled) -> LRESULT {
    if (msg == WM_APP + 1) {
      seen = static_cast<int>(wp);
      handled = true;
    }
    return 0;
  };
  PostMessageW(window.Handle(), WM_APP + 1, 42, 0);
  EXPECT_TRUE(PumpUntil([&] { return seen == 42; }, 2000));
}

TEST(HarnessSmoke, TempFolderIsRemovedWithItsContent) {
  std::wstring path;
  {
    TempFolder folder;
    path = folder.Path();
    CreateDirectoryW((folder / L"sub").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(folder / L"sub\\file.txt", "data"));
    EXPECT_EQ(ReadFileBytes(folder / L"sub\\file.txt"), "data");
  }
  EXPECT_FALSE(FileExists(path));
}

TEST(HarnessSmoke, ChildProcessExitCodeIsReported) {
  EXPECT_EQ(RunAndWait(L"cmd.exe /c exit 7", 20000), std::optional<DWORD>(7));
}
