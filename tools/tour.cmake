# The screenshot tour's driver: a Windows program that steps the running
# viewer through its windows (tools/tour.sh).
if(LUMBRA_CROSS)
  add_executable(tour_driver ${CMAKE_CURRENT_LIST_DIR}/tour/tour_driver.cpp)
  target_link_libraries(tour_driver PRIVATE user32 gdi32)
endif()
