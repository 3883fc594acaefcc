// The image list: the files the viewer steps through, built from an
// argument text (command line, drop, Open Image) or from a folder, sorted
// in one of six orders, and the position of the entry on show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/directory_entry.h"
#include "core/fixed_text.h"
#include "core/queue.h"
#include "core/record_layout.h"

namespace lumbra {

// One entry of the image list, fields prefixed FL:.
struct ImageEntry {
  FixedText<255> PATH;        // folder of the file, ending with a backslash
  FixedText<255> FILENAME;    // file name, long form
  std::int32_t SIZE = 0;      // bytes
  FixedText<20> DTPIC;        // date @D1, a blank, time @T3
  std::int32_t DATE = 0;      // date serial
  std::int32_t TIME = 0;      // time serial
  FixedText<3> TYPE;          // the three characters after the extension's dot
  std::int32_t IMAGEPOS = 0;  // order of addition, from 1
};

// Field numbers of ImageEntry, as sort keys and list columns name them.
enum ImageEntryField : std::int32_t {
  kFieldPath = 1,
  kFieldFileName,
  kFieldSize,
  kFieldDtPic,
  kFieldDate,
  kFieldTime,
  kFieldType,
  kFieldImagePos
};

extern const RecordLayout kImageEntryLayout;

// The record buffers and queues of the image list and of the directory
// listing that feeds it, and the 1-based position of the entry on show in
// the list's current order (0: none).
extern ImageEntry FL;
extern Queue ImageList;
extern DirectoryEntry DQ;
extern Queue DirectoryQueue;
extern std::int32_t CurrentImage;
// Counts the builds of the list: an image decoded ahead is shown only in the
// build it was read for.
extern std::uint32_t ImageListGeneration;

// The full path of an entry: FL:PATH clipped, then FL:FILENAME clipped.
std::string ImageEntryPath(const ImageEntry& entry);
// The full path of the entry at a position of the list (blank beyond it).
std::string ImagePathAt(std::int32_t position);

// Empties and refills the list from the argument text (items separated by
// commas when dropped, else by blanks; quotes hold blanks), adding the
// other images of the folder when one file is given and Auto Load
// Directory is on, or always with forceFolder. Sorts the list and sets
// CurrentImage and PS:FILENAME to the first entry added (blank when the
// list is empty). Esc during the build asks whether to stop.
void BuildImageList(std::string_view text, bool dropped, bool forceFolder);

// The list of a command line or a drop built and its first entry shown; a
// list that comes out empty (a folder without images) gives the "No
// Images" message and no image, as Load Folder does.
void ShowArgumentList(std::string_view text, bool dropped);

// Sorts the list by order 1..6 (None, Path, Name, Type, Size, Date),
// stably; other numbers leave it as it is.
void SortImageList(std::int32_t order);
// Sorts by PS:SORTORDER and marks the sort menu; CurrentImage keeps its
// number, so the next step starts from the same position.
void ResortImageList();

// Steps to the next or previous entry (no wrap-around) and shows it.
void NextImage();
void PrevImage();

// Has the entry beside the one on show decoded ahead: the one after it
// after a Next or a build of the list, the one before it after a Prev.
void PrefetchNeighbour();
// Has the image of the first item of the command line decoded while the
// window is made, under the name and build its list will give it; a folder
// or a file that is not there is left to the list.
void PrefetchArgumentImage(std::string_view text);

// The Open Image and Load Folder commands.
void OpenImageCommand();
void LoadFolderCommand();

// The file and folder dialogs, opened in PS:LASTPATH: the chosen path in
// upper case, or blank.
std::string SelectImageFile();
std::string SelectImageFolder();

}  // namespace lumbra
