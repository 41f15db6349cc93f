#pragma once
// Keeps the stand-in service running for a test and the engine values clean; the
// service is stopped when the test program ends.
#include <gtest/gtest.h>

#include <string>

#include "ComPtr.h"
#include "EngineStandIn.h"
#include "SBEngine.h"

namespace twktest {

class ServiceFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  template <typename T>
  twk::CComPtr<T> Create(REFCLSID clsid) {
    twk::CComPtr<T> p;
    EXPECT_EQ(S_OK, p.CreateInstance(clsid, CLSCTX_ALL));
    return p;
  }
  static std::wstring ReadText(const std::wstring& path);  // an 8-bit file as text

  EngineValuesGuard values_;
};

}  // namespace twktest
