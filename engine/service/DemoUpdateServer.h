#pragma once
// For the demo: an update server on 127.0.0.1 inside the service process, started
// when the engine value "DemoUpdatePort" is set. Every request gets the installed
// definitions with the next version number, sent slowly enough to watch.
namespace engine {

void StartDemoUpdateServer();
void StopDemoUpdateServer();

}  // namespace engine
