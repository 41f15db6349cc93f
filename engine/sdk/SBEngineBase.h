#pragma once
// Stands in for the header widl would make from SBEngineBase.idl: the real platform
// declarations of the base types.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
