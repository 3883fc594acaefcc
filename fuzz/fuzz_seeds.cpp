// Writes the seed corpora of the fuzz targets, made with the same small
// writers as the tests: fuzz_seeds <corpus root> writes one folder per
// target, <root>/seeds-<target>.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/viewer_popups.h"
#include "tests/codecs/jpeg_fixture.h"
#include "tests/codecs/pcx_fixture.h"
#include "tests/codecs/test_images.h"
#include "tests/winrt/image_list_queue.h"
#include "tools/description_compiler/description_writer.h"

namespace {

using lumbra::testing::Bytes;
using lumbra::testing::GifWriter;

std::filesystem::path root;

void Write(const std::string& target, const std::string& name, const Bytes& bytes) {
  const std::filesystem::path folder = root / ("seeds-" + target);
  std::filesystem::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void WriteGifSeeds() {
  Write("gif_fuzz", "still.gif", GifWriter(8, 4).Image(0, 0, 8, 4, Bytes(32, 2)).Finish());
  Write("gif_fuzz", "interlaced.gif",
        GifWriter(1, 9, true, 3).Image(0, 0, 1, 9, {0, 1, 2, 3, 4, 5, 6, 7, 8}, 4, true).Finish());
  Write("gif_fuzz", "animated.gif",
        GifWriter(2, 1)
            .Netscape(2)
            .GraphicControl(5, 1)
            .Image(0, 0, 2, 1, {1, 1})
            .Comment("seed")
            .GraphicControl(5)
            .Image(1, 0, 1, 1, {2}, 2, false, 1)
            .Finish());
  Write("gif_fuzz", "raw.gif",
        GifWriter(4, 1, false, 2)
            .RawImage(0, 0, 4, 1, 2, GifWriter::PackCodes({{3, 3}, {6, 3}, {7, 3}}))
            .Finish());
}

void WriteBmpWmfSeeds() {
  Write("bmp_wmf_fuzz", "bottom_up.bmp", lumbra::testing::MakeBmp8(5, 3));
  Write("bmp_wmf_fuzz", "top_down.bmp", lumbra::testing::MakeBmp8(3, -2, 2));
  Write("bmp_wmf_fuzz", "placeable.wmf", lumbra::testing::MakePlaceableWmf(0, 0, 1440, 720, 1440));
  Write("bmp_wmf_fuzz", "icon_name.txt",
        Bytes{'s', 'h', 'e', 'l', 'l', '.', 'd', 'l', 'l', '[', '3', ']'});
  for (const auto& [name, bytes] : lumbra::testing::IconFileSeeds()) {
    Write("bmp_wmf_fuzz", name, bytes);
  }
}

void WriteJpegSeeds() {
  using lumbra::test::JpegPicture;
  using lumbra::test::MakeJpeg;
  using lumbra::test::Rgb;
  JpegPicture colour;
  colour.width = 9;
  colour.height = 7;
  colour.pixel = [](int x, int y) {
    return Rgb{static_cast<std::uint8_t>(x * 28), static_cast<std::uint8_t>(y * 36), 90};
  };
  Write("jpeg_fuzz", "colour.jpg", MakeJpeg(colour));
  JpegPicture grey;
  grey.components = 1;
  grey.width = 17;
  grey.height = 3;
  Write("jpeg_fuzz", "grey.jpg", MakeJpeg(grey));
  JpegPicture progressive = colour;
  progressive.progressive = true;
  Write("jpeg_fuzz", "progressive.jpg", MakeJpeg(progressive));
}

void WritePcxSeeds() {
  lumbra::test::PcxFile eight;
  eight.data = lumbra::test::RunsOfOne(Bytes(8, 7));
  Write("pcx_fuzz", "eight_bit.pcx", eight.Bytes());
  lumbra::test::PcxFile runs;
  runs.width = 6;
  runs.height = 3;
  runs.data = {0xC6, 3, 0xC6, 4, 0xC6, 5};
  Write("pcx_fuzz", "runs.pcx", runs.Bytes());
  lumbra::test::PcxFile planes;
  planes.bits = 1;
  planes.planes = 4;
  planes.width = 8;
  planes.height = 2;
  planes.trailer = false;
  for (int i = 0; i < 16; ++i) planes.headerMap[i * 3] = static_cast<std::uint8_t>(i * 16);
  planes.data = lumbra::test::RunsOfOne(Bytes(16, 0x5A));
  Write("pcx_fuzz", "planar.pcx", planes.Bytes());
}

// Every window of the program compiled alone, and all of them chained,
// without the module tag that the target puts in front.
void WriteWindowDescriptionSeeds() {
  const std::string tag = "lumbra$LUMBRA";
  std::vector<std::pair<std::string, std::string>> all;
  for (const auto& entry : std::filesystem::directory_iterator(LUMBRA_WINDOW_SOURCES)) {
    if (entry.path().extension() != ".window") continue;
    std::ostringstream text;
    text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
    all.emplace_back(entry.path().string(), text.str());
  }
  auto compile = [&](const std::vector<std::pair<std::string, std::string>>& texts,
                     const std::string& name) {
    std::vector<std::string> errors;
    const Bytes resource = lumbra::description::CompileSourceTexts(tag, texts, errors);
    if (resource.size() > tag.size() + 1) {
      Write("window_description_fuzz", name,
            Bytes(resource.begin() + tag.size() + 1, resource.end()));
    }
  };
  for (const auto& text : all) {
    compile({text}, std::filesystem::path(text.first).stem().string() + ".dab");
  }
  compile(all, "all_windows.dab");
}

void WriteText(const std::string& target, const std::string& name, std::string_view text) {
  Write(target, name, Bytes(text.begin(), text.end()));
}

// The viewer's own popup, list and argument texts, and the shapes their
// readers must take apart: nesting, marks, groups, quotes and separators.
void WriteTextSeeds() {
  lumbra::MainPopupText main = lumbra::InitialMainPopup();
  lumbra::FillZoomPlaceholder(main, lumbra::ZoomPopupText(lumbra::kZoomPopupEntries));
  WriteText("popup_menu_text_fuzz", "main.txt", main.full());
  WriteText("popup_menu_text_fuzz", "sort.txt", lumbra::kSortPopupEntries);
  WriteText("popup_menu_text_fuzz", "nested.txt", "Open|-|~Save|Recent{One|Two{~+Deep}}|Exit}X");
  WriteText("popup_menu_text_fuzz", "marks.txt", "|+Sorted||-Unsorted|~-Greyed|{Untitled|Sub{A");

  WriteText("list_format_fuzz", "file_list.txt", lumbra::testing::kFileListFormat);
  WriteText("list_format_fuzz", "groups.txt", "[20L~A~/30R~B~](60)|~Group~C 10L0L#3*I");
  WriteText("list_format_fuzz", "items.txt",
            "30C(2)@S5@@N3@E(255,,65280)?mF_S~Two\nLines~R(3)H(7)|20DT(L1RBI)H10LE(1,2,3,4)?"
            "40L#5@D4@");

  WriteText("argument_items_fuzz", "command_line.txt",
            "\"C:\\PROGRAM FILES\\LUMBRA.EXE\" A.GIF \"C:\\MY PICS\\B C.JPG\" D.BMP");
  WriteText("argument_items_fuzz", "drop.txt", "C:\\MY PICS\\A.GIF,C:\\B C.PCX,\"D.WMF\",E");
  WriteText("argument_items_fuzz", "unterminated.txt",
            "LUMBRA.EXE X.ICO \"C:\\DIR.GIF\\PHOTO.JPEG");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <corpus root>\n");
    return 2;
  }
  root = argv[1];
  WriteGifSeeds();
  WriteBmpWmfSeeds();
  WriteJpegSeeds();
  WritePcxSeeds();
  WriteWindowDescriptionSeeds();
  WriteTextSeeds();
  return 0;
}
