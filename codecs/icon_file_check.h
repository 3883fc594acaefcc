// The checks made before the platform is given an icon, cursor, animated
// cursor or program file to extract icons from. The platform walks these
// files trusting every count, size and offset in them; a file is handed
// over only when everything the extraction will read lies inside it.
#pragma once

#include <cstdint>
#include <span>

namespace lumbra {

// An icon or cursor file (ICO, CUR): a directory of entries, each image
// inside the file with a sound header (a bitmap with its mask, or PNG).
bool IconDirectoryIsSound(std::span<const std::uint8_t> file);

// One icon image as the directory or a program's icon resource gives it: a
// bitmap information header, its colour table, colour rows and mask rows
// all within the bytes, or a PNG stream with its image header.
bool IconImageIsSound(std::span<const std::uint8_t> image);

// An animated cursor: a RIFF "ACON" form whose every chunk and list lies
// within its parent, with its header and every frame a sound icon file.
bool AnimatedCursorIsSound(std::span<const std::uint8_t> file);

// A program or library (PE): the headers, the section table and the
// resource tree within the file, and every icon group and the icons it
// names sound. Other executable formats are refused.
bool ProgramIconsAreSound(std::span<const std::uint8_t> file);

// Any file that icons are extracted from, by its content.
bool IconSourceIsSound(std::span<const std::uint8_t> file);

}  // namespace lumbra
