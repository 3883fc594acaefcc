// The module tag under which the viewer's window descriptions are stored.
#pragma once

namespace lumbra {

inline constexpr const char* kViewerModule = "lumbra$LUMBRA";

}  // namespace lumbra
