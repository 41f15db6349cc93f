#include <windows.h>

#include "TarnwickApp.h"

// Constructed during static initialisation, before the program proper starts.
CTarnwickApp theApp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return theApp.Run(); }
