# The checks made on icon, cursor and program files before extraction.
list(APPEND PORTABLE_SOURCES icon_file_check.cpp icon_mask.cpp)
