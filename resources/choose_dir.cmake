# The folder dialog's layout ("CHOOSEDIR"), used by the runtime's file
# dialog when a folder is chosen.
list(APPEND LUMBRA_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/choose_dir.rc)
