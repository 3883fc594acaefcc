// Directory listing into a queue of DirectoryEntry records, and the long
// and short forms of a path. None of these reports an error: a listing that
// cannot be made adds nothing, a path that cannot be converted comes back
// as given.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/queue.h"

namespace lumbra {

// Adds one record per entry matching the pattern (a path with wildcards)
// whose attributes pass the filter, in the order the file system gives
// them. The queue is neither cleared nor sorted; it must have the
// DirectoryEntry layout, or nothing is listed.
void ListDirectory(Queue& queue, std::string_view pattern, std::uint8_t wanted);

// The full path with every component in its long form ("" is the current
// directory).
std::string LongPath(std::string_view path);
// The name the file system gives the last component of a path (its long
// form, in the file system's case), or "" when there is no such file.
std::string LongName(std::string_view path);
// The full path in 8.3 form ("" is the current directory).
std::string ShortPath(std::string_view path);

}  // namespace lumbra
