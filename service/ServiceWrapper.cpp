#include "ServiceWrapper.h"

#include "BStr.h"
#include "ComError.h"
#include "WrapperFrame.h"

using service_wrapper::Line;
using service_wrapper::Run;
using twk::CheckHr;

bool CServiceWrapper::SetCompanyProduct() {
  constexpr wchar_t kContext[] = L"CServiceWrapper::SetCompanyProduct";
  return Run(kContext, false, &CServerConnection::ISBServiceInterface,
             L"Caught an exception while calling SetCompanyProduct().", false, [&](ISBService* service) {
               Line(LOG_VERBOSE, kContext, L"Obtained Service");
               twk::CBStr company(kCompanyForService), product(kProductForService);
               HRESULT hr = CheckHr(service->SetCompanyProduct(company.get(), product.get()));
               Line(LOG_VERBOSE, kContext, L"SetCompanyProduct(\"%s %s\") returned 0x%08X.", kCompanyForService,
                    kProductForService, hr);
               return true;
             });
}

bool CServiceWrapper::GetServiceState(long& state) {
  constexpr wchar_t kContext[] = L"CServiceWrapper::GetServiceState";
  Run(kContext, false, &CServerConnection::ISBServiceInterface, L"Caught an exception while calling GetServiceState().",
      false, [&](ISBService* service) {
        long value = 0;
        HRESULT hr = CheckHr(service->GetServiceState(&value));
        Line(LOG_VERBOSE, kContext, L"GetServiceState() returned hr = 0x%08X, state = 0x%08X", hr, unsigned(value));
        state = value;
        return true;
      });
  return true;
}
