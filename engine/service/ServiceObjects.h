#pragma once
// The service's four COM classes: registration of their class objects.
#include <windows.h>

namespace engine {

// CoRegisterClassObject for the four classes (REGCLS_MULTIPLEUSE); false on any failure.
bool RegisterClassObjects();
void RevokeClassObjects();

}  // namespace engine
