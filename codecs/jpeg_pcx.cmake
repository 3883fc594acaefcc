#JPEG through libjpeg and PCX, both written out as 8 - bit DecodedImages by
#the shared BMP writer.
list(APPEND PORTABLE_SOURCES ${CMAKE_CURRENT_LIST_DIR} / bmp_writer.cpp ${CMAKE_CURRENT_LIST_DIR} /
     jpeg_memory_stream.cpp ${CMAKE_CURRENT_LIST_DIR} /
     jpeg_decompress.cpp ${CMAKE_CURRENT_LIST_DIR} / jpeg_loader.cpp ${CMAKE_CURRENT_LIST_DIR} /
     pcx_reader.cpp ${CMAKE_CURRENT_LIST_DIR} / pcx_loader.cpp)
    list(APPEND WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR} /
         jpeg_loader_win32.cpp ${CMAKE_CURRENT_LIST_DIR} / pcx_loader_win32.cpp)
        list(APPEND LIBRARIES JPEG::JPEG)
