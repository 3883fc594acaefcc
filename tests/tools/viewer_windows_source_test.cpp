// The viewer's window sources compile, and hold what the windows must.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/winrt/viewer_windows_expected.h"
#include "tools/description_compiler/description_writer.h"

namespace lumbra {
namespace {

std::optional<DescriptionBuffer> CompileViewerWindows() {
  std::vector<std::pair<std::string, std::string>> texts;
  for (const char* name : {"main_viewer", "program_setup", "image_properties", "about_box", "zoom",
                           "file_listing", "colour_sample", "welcome"}) {
    const std::string path =
        std::string(LUMBRA_SOURCE_DIR) + "/resources/windows/" + name + ".window";
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(in) << path;
    texts.emplace_back(path, text.str());
  }
  std::vector<std::string> errors;
  const auto resource = description::CompileSourceTexts("lumbra$LUMBRA", texts, errors);
  for (const auto& e : errors) ADD_FAILURE() << e;
  return DescriptionBuffer::FromResource(resource, "lumbra$LUMBRA");
}

TEST(ViewerWindowSources, EveryWindowHoldsItsControls) {
  const auto buffer = CompileViewerWindows();
  ASSERT_TRUE(buffer);
  for (const auto& window : expected::ViewerWindows()) expected::CheckWindow(*buffer, window);
  expected::CheckDetails(*buffer);
}

}  // namespace
}  // namespace lumbra
