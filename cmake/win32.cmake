# The cross build: gleamo.scr, and every test suite run under Wine.
enable_language(RC)

set(GLEAMO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run --prefix ${GLEAMO_WINE_PREFIX})

# Statically linked, so a clean Windows machine needs no MinGW DLL.
set(GLEAMO_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
# No winmm: it is not one of the system's known DLLs, and an import of it is
# searched for beside the program first (src/base/winmm_functions.h).
set(GLEAMO_WIN32_LIBS ole32 oleaut32 uuid comctl32 comdlg32 shell32 gdi32 user32 advapi32 kernel32)

add_library(gleamo_lib STATIC ${GLEAMO_PURE_SOURCES} ${GLEAMO_WIN32_SOURCES})
target_include_directories(gleamo_lib PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(gleamo_lib PUBLIC WINVER=0x0500 _WIN32_WINNT=0x0500 _WIN32_IE=0x0500 NOMINMAX STRICT)
target_compile_options(gleamo_lib PRIVATE ${GLEAMO_WARNINGS} -O2)
target_link_libraries(gleamo_lib PUBLIC ${GLEAMO_WIN32_LIBS})

add_executable(gleamo WIN32 src/shell/process_entry.cpp src/resources/gleamo.rc)
set_target_properties(gleamo PROPERTIES SUFFIX ".scr")
target_compile_options(gleamo PRIVATE ${GLEAMO_WARNINGS} -O2)
# Large address aware: on a 64-bit system a 32-bit program so marked has 4 GB
# of address space, room for several large pictures decoded at once.
target_link_options(gleamo PRIVATE ${GLEAMO_LINK_OPTIONS} -s -Wl,--large-address-aware)
target_link_libraries(gleamo PRIVATE gleamo_lib)

# GoogleTest, cross-built from the Debian sources.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests)

# The benchmarks: figures under Wine, never tests; each has a tools/ script.
# Compiled as the product is, with the tests' support code at hand.
function(gleamo_bench name)
  cmake_parse_arguments(bench "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${bench_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${GLEAMO_WARNINGS} -O2)
  target_link_options(${name} PRIVATE ${GLEAMO_LINK_OPTIONS})
  target_link_libraries(${name} PRIVATE ${bench_LIBS})
endfunction()

# Frame cost (tools/frame-cost): the saver's window beside frame_floor, the
# least a double-buffered slideshow frame costs.
gleamo_bench(frame_cost
  SOURCES bench/frame_cost.cpp tests/support/process_run.cpp tests/support/test_files.cpp
          tests/support/test_pictures.cpp src/resources/gleamo.rc
  LIBS gleamo_lib)
gleamo_bench(frame_floor SOURCES bench/frame_floor.cpp tests/support/process_run.cpp LIBS winmm gdi32 user32 kernel32)
add_dependencies(frame_cost frame_floor)

# The opaque-region benchmark (build/win32/region_cost.exe).
gleamo_bench(region_cost SOURCES bench/region_cost.cpp LIBS gleamo_lib)

# First frame (tools/first-frame): the time from starting gleamo.scr to its
# first frame, with many pictures or a large music folder.
gleamo_bench(first_frame
  SOURCES bench/first_frame.cpp tests/support/music_files.cpp tests/support/process_run.cpp
          tests/support/test_files.cpp tests/support/test_pictures.cpp
  LIBS gleamo_lib)
add_dependencies(first_frame gleamo)

# Photo load (tools/photo-load): the saver's peak memory with 6000 x 4000 JPEGs
# and the time a key takes to end it meanwhile.
gleamo_bench(photo_load
  SOURCES bench/photo_load.cpp tests/support/process_run.cpp tests/support/test_files.cpp
          tests/support/test_pictures.cpp
  LIBS gleamo_lib psapi)
add_dependencies(photo_load gleamo)
