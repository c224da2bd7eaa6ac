# The native build: the pure cores only, for sanitizers, fuzzing and benchmarks.
add_library(gleamo_core STATIC ${GLEAMO_PURE_SOURCES})
target_include_directories(gleamo_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(gleamo_core PRIVATE ${GLEAMO_WARNINGS})

if(GLEAMO_SANITIZE)
  set(GLEAMO_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(gleamo_core PUBLIC ${GLEAMO_SANITIZER_FLAGS})
  target_link_options(gleamo_core PUBLIC ${GLEAMO_SANITIZER_FLAGS})
endif()

find_package(GTest REQUIRED)
add_subdirectory(tests)

# Google Benchmark for the `bench` preset; its target is built only when asked for.
find_package(benchmark QUIET)
add_subdirectory(bench)
