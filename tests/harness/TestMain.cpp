// Entry point of every test executable: the thread is a single-threaded COM apartment,
// as the programs' user-interface threads are.
#include <objbase.h>

#include <gmock/gmock.h>

int main(int argc, char** argv) {
  testing::InitGoogleMock(&argc, argv);
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int result = RUN_ALL_TESTS();
  if (SUCCEEDED(hr)) CoUninitialize();
  return result;
}
