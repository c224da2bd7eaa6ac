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
# Linked with the win32 thread model's runtime, so that it starts on Windows
# 95/98 and XP (see the launcher).
set_target_properties(gleamo PROPERTIES RULE_LAUNCH_LINK ${CMAKE_SOURCE_DIR}/cmake/link-with-win32-threads)

# GoogleTest, cross-built from the Debian sources.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests)

# The benchmarks under Wine, built only when asked for by target.
add_subdirectory(bench)
