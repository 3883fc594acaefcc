# Format registry, bitmap, metafile and GIF tests (portable: both builds).
lumbra_test(codecs_image_test
  SOURCES image_registry_test.cpp bitmap_image_test.cpp lzw_decoder_test.cpp gif_image_test.cpp wmf_header_test.cpp
  LIBS lumbra_codecs)

# Files, resources, painting, icons, metafiles and timers: Windows only.
if(LUMBRA_CROSS)
  enable_language(RC)
  lumbra_test(codecs_platform_test
    SOURCES codecs_platform_test.cpp codecs_test_resources.rc
    LIBS lumbra_codecs gdi32 user32)
  # The clipboard is one for every program on the display.
  set_tests_properties(codecs_platform_test PROPERTIES RESOURCE_LOCK clipboard)
endif()
