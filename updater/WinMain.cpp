#include <windows.h>

#include "DefsUpdaterApp.h"

CDefsUpdaterApp theUpdaterApp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return theUpdaterApp.Run(); }
