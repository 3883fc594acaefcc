# The platform mutation runner (a Windows program) and the image stage it
# shares with the hostile-file tests.
if(LUMBRA_CROSS)
  set(_pf ${CMAKE_CURRENT_LIST_DIR}/platform_fuzz)
  add_library(lumbra_image_stage STATIC ${_pf}/image_stage_win32.cpp ${_pf}/mutation.cpp)
  target_link_libraries(lumbra_image_stage PUBLIC lumbra_winrt lumbra_codecs gdi32 user32)
  add_executable(platform_fuzz ${_pf}/main.cpp)
  target_link_libraries(platform_fuzz PRIVATE lumbra_image_stage)
endif()
