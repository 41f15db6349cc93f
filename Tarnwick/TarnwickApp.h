#pragma once
// The main program's one application object.
#include "ClientLoggerInit.h"

inline constexpr wchar_t kTarnwickSystemName[] = L"Tarnwick Pro";

class CTarnwickApp {
 public:
  CTarnwickApp();
  int Run();

  CClientLoggerInit loggerInit;
};

extern CTarnwickApp theApp;
