#The JPEG driver, the PCX reader and their shared BMP writer; the loaders
#through the format registry.
lumbra_test(jpeg_pcx_test SOURCES ${CMAKE_CURRENT_LIST_DIR} /
            bmp_writer_test.cpp ${CMAKE_CURRENT_LIST_DIR} /
            jpeg_decompress_test.cpp ${CMAKE_CURRENT_LIST_DIR} /
            pcx_reader_test.cpp ${CMAKE_CURRENT_LIST_DIR} /
            jpeg_pcx_registry_test.cpp LIBS lumbra_codecs JPEG::JPEG)
