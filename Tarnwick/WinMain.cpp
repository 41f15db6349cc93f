#include <windows.h>

#include "TarnwickApp.h"

// Constructed during static initialisation, before the program proper starts: COM for
// the user-interface thread, the connection to the service and the log.
CTarnwickApp theApp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return theApp.Main(); }
