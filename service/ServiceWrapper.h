#pragma once
// The service's identity and state; static, never throwing.

inline constexpr wchar_t kCompanyForService[] = L"Corvanta";
inline constexpr wchar_t kProductForService[] = L"VuruDazadud";

class CServiceWrapper {
 public:
  static bool SetCompanyProduct();
  // Always true; state is written only when the service answered with success.
  static bool GetServiceState(long& state);
};
