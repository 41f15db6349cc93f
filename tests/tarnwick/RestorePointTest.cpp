#include "RestorePoint.h"

#include <gtest/gtest.h>

#include "RegistryAccess.h"
#include "ScratchRegKey.h"
#include "SettingValues.h"
#include "TestWindow.h"

namespace {

struct Calls {
  std::vector<RESTOREPOINTINFOW> sets;
  std::vector<DWORD> removes;
  std::vector<std::wstring> markerDuringSet;
  std::function<void()> onSet;
};

class FakeRestoreApi : public IRestorePointApi {
 public:
  FakeRestoreApi(Calls& calls, bool hasSet, bool hasRemove, BOOL result, INT64 sequence)
      : calls_(calls), hasSet_(hasSet), hasRemove_(hasRemove), result_(result), sequence_(sequence) {}
  bool HasSetRestorePoint() const override { return hasSet_; }
  bool HasRemoveRestorePoint() const override { return hasRemove_; }
  BOOL SetRestorePoint(RESTOREPOINTINFOW* request, STATEMGRSTATUS* status) override {
    EXPECT_TRUE(hasSet_) << "called a function that is missing";
    calls_.sets.push_back(*request);
    calls_.markerDuringSet.push_back(twk::ReadSetting(twk::setting::kCreatingRestorePoint));
    if (calls_.onSet) calls_.onSet();
    status->nStatus = result_ ? ERROR_SUCCESS : ERROR_INTERNAL_ERROR;
    status->llSequenceNumber = request->dwEventType == BEGIN_SYSTEM_CHANGE ? sequence_ : request->llSequenceNumber;
    return result_;
  }
  DWORD RemoveRestorePoint(DWORD number) override {
    EXPECT_TRUE(hasRemove_) << "called a function that is missing";
    calls_.removes.push_back(number);
    return ERROR_SUCCESS;
  }

 private:
  Calls& calls_;
  bool hasSet_, hasRemove_;
  BOOL result_;
  INT64 sequence_;
};

class RestorePointTest : public ::testing::Test {
 protected:
  void SetUp() override { twk::SetSettingsLocation({settings.Root(), settings.SubKey()}); }
  void TearDown() override { twk::SetSettingsLocation({}); }

  CRestorePoint Make(BOOL result = TRUE, INT64 sequence = 17, bool hasSet = true, bool hasRemove = true) {
    return CRestorePoint(std::make_unique<FakeRestoreApi>(calls, hasSet, hasRemove, result, sequence));
  }
  bool ReadLast(DWORD& value) {
    return twk::ReadDword(settings.Root(), settings.SubKey().c_str(), twk::setting::kLastRestorePoint, value);
  }

  twktest::ScratchRegKey settings;
  twktest::ScratchRegKey systemRestore;
  Calls calls;
};

struct AvailabilityCase {
  int osCode;
  std::optional<DWORD> disableSR;
  std::optional<DWORD> sessionInterval;
  bool available;
};

class Availability : public RestorePointTest, public ::testing::WithParamInterface<AvailabilityCase> {};

TEST_P(Availability, ByOsCodeAndSystemValues) {
  const auto& c = GetParam();
  if (c.disableSR) twktest::SetRegDword(systemRestore.Root(), systemRestore.SubKey(), L"DisableSR", *c.disableSR);
  if (c.sessionInterval) {
    twktest::SetRegDword(systemRestore.Root(), systemRestore.SubKey(), L"RPSessionInterval", *c.sessionInterval);
  }
  EXPECT_EQ(c.available, Make().IsRestoreAvailable(c.osCode, {systemRestore.Root(), systemRestore.SubKey()}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Availability,
    ::testing::Values(AvailabilityCase{61, 0, 0, false}, AvailabilityCase{61, 0, 1, true},
                      AvailabilityCase{6, 1, 1, true}, AvailabilityCase{6, std::nullopt, std::nullopt, false},
                      AvailabilityCase{5, 1, 1, false}, AvailabilityCase{5, 0, 0, true},
                      AvailabilityCase{5, std::nullopt, std::nullopt, true}, AvailabilityCase{60, 0, 0, true},
                      AvailabilityCase{51, 1, std::nullopt, false}));

TEST_F(RestorePointTest, MissingFunctionsMakeRestoreUnavailableAndAreNeverCalled) {
  for (auto [hasSet, hasRemove] : {std::pair{false, true}, std::pair{true, false}, std::pair{false, false}}) {
    auto point = Make(TRUE, 5, hasSet, hasRemove);
    EXPECT_FALSE(point.Load());
    EXPECT_FALSE(point.IsRestoreAvailable(5, {systemRestore.Root(), systemRestore.SubKey()}));
    point.RemoveRestorePoint(3);
    if (!hasSet) {
      EXPECT_EQ(0u, point.CreateRestorePt());
    }
  }
  EXPECT_EQ(std::vector<DWORD>{3}, calls.removes);  // only where the function exists
}

TEST_F(RestorePointTest, CreationUsesTheTwoCallProtocol) {
  auto point = Make(TRUE, 0x100000042LL);
  EXPECT_TRUE(point.Load());
  EXPECT_EQ(0x42u, point.CreateRestorePt());  // the low 32 bits
  ASSERT_EQ(2u, calls.sets.size());
  EXPECT_EQ(100u, calls.sets[0].dwEventType);
  EXPECT_EQ(12u, calls.sets[0].dwRestorePtType);
  EXPECT_EQ(0, calls.sets[0].llSequenceNumber);
  EXPECT_STREQ(L"Tarnwick before removal", calls.sets[0].szDescription);
  EXPECT_EQ(101u, calls.sets[1].dwEventType);
  EXPECT_EQ(12u, calls.sets[1].dwRestorePtType);
  EXPECT_EQ(0x100000042LL, calls.sets[1].llSequenceNumber);
}

TEST_F(RestorePointTest, RefusedCreationGivesZeroAfterOneCall) {
  auto point = Make(FALSE);
  EXPECT_EQ(0u, point.CreateRestorePt());
  EXPECT_EQ(1u, calls.sets.size());
}

TEST_F(RestorePointTest, SecondFixRemovesThePointOfTheFirst) {
  DWORD last = 0;
  auto first = Make(TRUE, 17);
  CreateRestorePointForFix(first, true, last);
  EXPECT_TRUE(calls.removes.empty());
  EXPECT_EQ(17u, last);
  DWORD stored = 0;
  ASSERT_TRUE(ReadLast(stored));
  EXPECT_EQ(17u, stored);
  EXPECT_EQ(L"0", twk::ReadSetting(twk::setting::kCreatingRestorePoint));
  EXPECT_EQ(L"1", calls.markerDuringSet.at(0));

  auto second = Make(TRUE, 18);
  DWORD lastOfNewPage = 0;  // a new fix page learns the number from the settings
  CreateRestorePointForFix(second, true, lastOfNewPage);
  EXPECT_EQ(std::vector<DWORD>{17}, calls.removes);
  EXPECT_EQ(18u, lastOfNewPage);
  ASSERT_TRUE(ReadLast(stored));
  EXPECT_EQ(18u, stored);
}

TEST_F(RestorePointTest, RefusedCreationKeepsLastRestorePoint) {
  twk::WriteDword(settings.Root(), settings.SubKey().c_str(), twk::setting::kLastRestorePoint, 17);
  DWORD last = 0;
  auto point = Make(FALSE);
  CreateRestorePointForFix(point, true, last);
  EXPECT_EQ(std::vector<DWORD>{17}, calls.removes);
  EXPECT_EQ(0u, last);
  DWORD stored = 0;
  ASSERT_TRUE(ReadLast(stored));
  EXPECT_EQ(17u, stored);  // removed, yet the next fix will try to remove it again
  EXPECT_EQ(L"0", twk::ReadSetting(twk::setting::kCreatingRestorePoint));
}

TEST_F(RestorePointTest, NegativeNumbersAreNotRecorded) {
  DWORD last = 0;
  auto point = Make(TRUE, 0x80000001LL);
  CreateRestorePointForFix(point, true, last);
  DWORD stored = 0;
  EXPECT_FALSE(ReadLast(stored));
  EXPECT_EQ(0u, last);
}

TEST_F(RestorePointTest, UnavailableRestoreDoesNothing) {
  DWORD last = 9;
  auto point = Make();
  CreateRestorePointForFix(point, false, last);
  EXPECT_TRUE(calls.sets.empty());
  EXPECT_TRUE(calls.removes.empty());
  EXPECT_TRUE(twk::SettingIsEmpty(twk::setting::kCreatingRestorePoint));
  EXPECT_EQ(9u, last);
}

TEST_F(RestorePointTest, WaitingMessagesAreDispatchedBeforeTheSlowCall) {
  twktest::TestWindow page;
  constexpr UINT kPaintRequest = WM_COMMAND;
  ASSERT_TRUE(PostMessageW(page.Handle(), kPaintRequest, 0, 0));
  int seenBeforeSet = -1;
  calls.onSet = [&] {
    if (seenBeforeSet < 0) seenBeforeSet = page.Count(kPaintRequest);
  };
  DWORD last = 0;
  auto point = Make();
  CreateRestorePointForFix(point, true, last);
  EXPECT_EQ(1, seenBeforeSet);
}

TEST(SrClientApi, LoadsTheSystemLibrary) {
  // Only looked up: Wine's SRRemoveRestorePoint faults and its SRSetRestorePointW refuses.
  CSrClientApi api;
  EXPECT_TRUE(api.Loaded());
  EXPECT_TRUE(api.HasSetRestorePoint());
  EXPECT_TRUE(api.HasRemoveRestorePoint());
}

}  // namespace
