# Icon, cursor and program file checks (portable), and hostile files of
# every format through the platform's load, paint and copy (Windows only).
lumbra_test(codecs_icon_check_test SOURCES icon_file_check_test.cpp LIBS lumbra_codecs)
