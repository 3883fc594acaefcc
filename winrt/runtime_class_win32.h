// The runtime's own window classes ("Wex..."), registered once for the
// program's instance.
#pragma once

#include <windows.h>

namespace lumbra::internal {

// Registers a class with the arrow cursor, unless it is registered already.
void RegisterRuntimeClass(const char* name, WNDPROC procedure);

}  // namespace lumbra::internal
