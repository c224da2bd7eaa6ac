# The cross build: gleamo.scr, and every test suite run under Wine.
enable_language(RC)

set(GLEAMO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run --prefix ${GLEAMO_WINE_PREFIX})

# Statically linked, so a clean Windows machine needs no MinGW DLL.
set(GLEAMO_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
set(GLEAMO_WIN32_LIBS ole32 oleaut32 uuid winmm comctl32 comdlg32 shell32 gdi32 user32 advapi32 kernel32)

add_library(gleamo_lib STATIC ${GLEAMO_PURE_SOURCES} ${GLEAMO_WIN32_SOURCES})
target_include_directories(gleamo_lib PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_definitions(gleamo_lib PUBLIC WINVER=0x0500 _WIN32_WINNT=0x0500 _WIN32_IE=0x0500 NOMINMAX STRICT)
target_compile_options(gleamo_lib PRIVATE ${GLEAMO_WARNINGS} -O2)
target_link_libraries(gleamo_lib PUBLIC ${GLEAMO_WIN32_LIBS})

add_executable(gleamo WIN32 src/shell/process_entry.cpp src/resources/gleamo.rc)
set_target_properties(gleamo PROPERTIES SUFFIX ".scr")
target_compile_options(gleamo PRIVATE ${GLEAMO_WARNINGS} -O2)
target_link_options(gleamo PRIVATE ${GLEAMO_LINK_OPTIONS} -s)
target_link_libraries(gleamo PRIVATE gleamo_lib)

# GoogleTest, cross-built from the Debian sources.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests)

# The frame-cost benchmark: figures under Wine, never a test (tools/frame-cost runs it).
# It runs frame_floor, the least a double-buffered slideshow frame costs, beside the saver.
add_executable(frame_cost bench/frame_cost.cpp tests/support/process_run.cpp tests/support/test_files.cpp
               tests/support/test_pictures.cpp src/resources/gleamo.rc)
target_include_directories(frame_cost PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(frame_cost PRIVATE ${GLEAMO_WARNINGS} -O2)
target_link_options(frame_cost PRIVATE ${GLEAMO_LINK_OPTIONS})
target_link_libraries(frame_cost PRIVATE gleamo_lib)
add_executable(frame_floor bench/frame_floor.cpp)
target_compile_options(frame_floor PRIVATE ${GLEAMO_WARNINGS} -O2)
target_link_options(frame_floor PRIVATE ${GLEAMO_LINK_OPTIONS})
target_link_libraries(frame_floor PRIVATE winmm gdi32 user32 kernel32)
add_dependencies(frame_cost frame_floor)

# The opaque-region benchmark: figures under Wine, never a test.
add_executable(region_cost bench/region_cost.cpp)
target_compile_options(region_cost PRIVATE ${GLEAMO_WARNINGS} -O2)
target_link_options(region_cost PRIVATE ${GLEAMO_LINK_OPTIONS})
target_link_libraries(region_cost PRIVATE gleamo_lib)

# The first-frame benchmark: the time from starting gleamo.scr to its first
# picture, with and without a large music folder (tools/first-frame runs it).
add_executable(first_frame bench/first_frame.cpp tests/support/music_files.cpp tests/support/process_run.cpp
               tests/support/test_files.cpp tests/support/test_pictures.cpp)
target_include_directories(first_frame PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(first_frame PRIVATE ${GLEAMO_WARNINGS} -O2)
target_link_options(first_frame PRIVATE ${GLEAMO_LINK_OPTIONS})
target_link_libraries(first_frame PRIVATE gleamo_lib)
add_dependencies(first_frame gleamo)

# The photo-load benchmark: the saver's peak memory with 6000 x 4000 JPEGs and
# the time a key takes to end it meanwhile (tools/photo-load runs it).
add_executable(photo_load bench/photo_load.cpp tests/support/process_run.cpp tests/support/test_files.cpp
               tests/support/test_pictures.cpp)
target_include_directories(photo_load PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(photo_load PRIVATE ${GLEAMO_WARNINGS} -O2)
target_link_options(photo_load PRIVATE ${GLEAMO_LINK_OPTIONS})
target_link_libraries(photo_load PRIVATE gleamo_lib psapi)
add_dependencies(photo_load gleamo)
