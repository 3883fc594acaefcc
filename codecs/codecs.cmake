# Format registry, image objects, BMP, icons, metafiles and GIF.
list(APPEND PORTABLE_SOURCES
  bitmap_image.cpp
  builtin_formats.cpp
  core_header_bitmap.cpp
  decoded_image.cpp
  gif_blocks.cpp
  gif_image.cpp
  icon_name.cpp
  image_format_registry.cpp
  image_object.cpp
  image_source.cpp
  lzw_decoder.cpp
  wmf_header.cpp
  wmf_records.cpp
)
if(LUMBRA_CROSS)
  list(APPEND WIN32_SOURCES
    bitmap_loader_win32.cpp
    device_resolution_win32.cpp
    gif_loader_win32.cpp
    gif_timer_win32.cpp
    icon_image_win32.cpp
    image_source_win32.cpp
    metafile_image_win32.cpp
  )
  list(APPEND LIBRARIES gdi32 user32 shell32)
else()
  list(APPEND PORTABLE_SOURCES
    device_resolution_host.cpp
    gif_platform_host.cpp
  )
endif()
# The JPEG and PCX decoders register into the same table; until their part
# is in the tree their slots yield nothing.
if(NOT EXISTS ${CMAKE_CURRENT_LIST_DIR}/jpeg_pcx.cmake)
  list(APPEND PORTABLE_SOURCES jpeg_pcx_absent.cpp)
endif()
# The image classes' painting, palette and clipboard bodies live in the
# image display, which in turn reads the images: the two link together.
list(APPEND LIBRARIES lumbra_display)
