// The COM smart pointer and the BSTR and VARIANT holders.
#include <gtest/gtest.h>

#include "BStr.h"
#include "ComError.h"
#include "ComPtr.h"
#include "Variant.h"

namespace twktest {
namespace {

// A COM object that counts its references.
struct Counted : IUnknown {
  ULONG refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!IsEqualIID(riid, IID_IUnknown)) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(ComPtrTest, HoldsOneReferencePerHolder) {
  Counted object;
  {
    twk::CComPtr<IUnknown> a(&object);
    EXPECT_EQ(2u, object.refs);
    twk::CComPtr<IUnknown> b = a;
    EXPECT_EQ(3u, object.refs);
    twk::CComPtr<IUnknown> c = std::move(b);
    EXPECT_EQ(3u, object.refs);
    EXPECT_FALSE(b);
    a = nullptr;
    EXPECT_EQ(2u, object.refs);
    twk::CComPtr<IUnknown> d;
    EXPECT_EQ(S_OK, c.QueryInterface(d));
    EXPECT_EQ(3u, object.refs);
  }
  EXPECT_EQ(1u, object.refs);
  auto attached = twk::CComPtr<IUnknown>::Attach(&object);
  EXPECT_EQ(1u, object.refs);
  EXPECT_EQ(&object, attached.Detach());
  EXPECT_EQ(1u, object.refs);
}

TEST(ComPtrTest, ThrowingPathCarriesTheResult) {
  twk::CComPtr<IUnknown> empty;
  try {
    empty.Checked();
    FAIL() << "no error";
  } catch (const twk::CComError& e) {
    EXPECT_EQ(E_POINTER, e.Error());
  }
  try {
    twk::CheckHr(HRESULT(0x800706BA));
    FAIL() << "no error";
  } catch (const twk::CComError& e) {
    EXPECT_EQ(HRESULT(0x800706BA), e.Error());
  }
  EXPECT_EQ(S_FALSE, twk::CheckHr(S_FALSE));
  twk::CComPtr<IUnknown> none;
  EXPECT_EQ(REGDB_E_CLASSNOTREG, none.CreateInstance(GUID{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}}));
  EXPECT_FALSE(none);
}

TEST(BStrTest, OwnsItsTextAndKeepsEmbeddedZeros) {
  std::wstring withZero(L"a\0b", 3);
  twk::CBStr text(withZero);
  EXPECT_EQ(3u, text.Length());
  EXPECT_EQ(withZero, text.str());
  twk::CBStr copy = text;
  EXPECT_NE(copy.get(), text.get());
  EXPECT_EQ(withZero, copy.str());
  twk::CBStr empty;
  EXPECT_TRUE(empty.Empty());
  EXPECT_STREQ(L"", empty.c_str());
  *empty.put() = SysAllocString(L"out");
  EXPECT_EQ(L"out", empty.str());
  BSTR raw = empty.Detach();
  EXPECT_EQ(nullptr, empty.get());
  SysFreeString(raw);
}

TEST(VariantTest, HoldsTextNumbersAndFlags) {
  EXPECT_EQ(L"x y", twk::CVariant(std::wstring(L"x y")).Text());
  EXPECT_EQ(L"42", twk::CVariant(42).Text());
  EXPECT_EQ(VT_I4, twk::CVariant(42L).Type());
  EXPECT_EQ(VT_BOOL, twk::CVariant(true).Type());
  twk::CVariant copy(twk::CVariant(std::wstring(L"kept")));
  twk::CVariant assigned;
  assigned = copy;
  EXPECT_EQ(L"kept", assigned.Text());
  EXPECT_EQ(VT_EMPTY, twk::CVariant().Type());
  EXPECT_EQ(L"", twk::CVariant().Text());
}

}  // namespace
}  // namespace twktest
