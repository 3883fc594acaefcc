# Compiler settings shared by every target of both builds.
add_compile_options(-Wall -Wextra -Werror)
# GCC 12 reports false overlaps in std::string concatenation once inlined
# (GCC bug 105329); the check is off until the compiler is fixed.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
include_directories(${PROJECT_SOURCE_DIR})

if(LUMBRA_CROSS)
  # A static runtime, so lumbra.exe and the tests run on a bare Windows.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Wine runs every test executable of the cross build.
  # (wine64 for a 64-bit tree: Debian's wine wrapper prefers the 32-bit loader).
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    find_program(LUMBRA_WINE wine64 PATHS /usr/lib/wine REQUIRED)
  else()
    find_program(LUMBRA_WINE wine REQUIRED)
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMBRA_WINE})
elseif(LUMBRA_SANITIZE AND NOT LUMBRA_BENCH AND NOT LUMBRA_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

if(LUMBRA_BENCH)
  add_compile_options(-O2)
endif()
