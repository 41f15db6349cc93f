#pragma once
// The frame every service wrapper operation follows: synchronise the connection,
// fetch the interface, refuse an empty one, call, and turn every failure into a log
// line and the operation's failure result.
#include <string>

#include "BStr.h"
#include "ClientLog.h"
#include "ComPtr.h"
#include "ServerConnection.h"

namespace service_wrapper {

inline constexpr wchar_t kNoConnection[] = L"There is no connection to the RORO service.";

template <typename... Args>
void Line(int level, const wchar_t* context, const wchar_t* format, Args... args) {
  ClientLog(level, CServerConnection::SystemName(), context, format, args...);
}

// call(I*) gives the result; failure is given for every failure.
template <typename I, typename R, typename Call>
R Run(const wchar_t* context, bool force, twk::CComPtr<I> (*accessor)(), const wchar_t* exceptionMessage,
      R failure, Call call) {
  try {
    CServerConnection::SynchronizeConnectionState(force);
    twk::CComPtr<I> pointer = accessor();
    if (!pointer) {
      Line(LOG_ERROR, context, kNoConnection);
      return failure;
    }
    return call(pointer.get());
  } catch (...) {
    Line(LOG_ERROR, context, exceptionMessage);
    return failure;
  }
}

// Turns the service's XML settings text into an engine-library object, or none.
template <typename TObject, typename TFactory>
twk::CComPtr<TObject> SettingsFromText(twk::CComPtr<TFactory> factory, twk::CBStr& text) {
  if (text.Empty() || !factory) return {};
  long error = 0;
  auto object = twk::CComPtr<TObject>::Attach(factory->Create(text.c_str(), &error));
  if (error != 0) return {};
  return object;
}

}  // namespace service_wrapper
