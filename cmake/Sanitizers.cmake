if(VELMOT_SANITIZE STREQUAL "asan")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(VELMOT_SANITIZE STREQUAL "tsan")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(VELMOT_SANITIZE STREQUAL "fuzz")
  # Libraries get the coverage hooks; each fuzz target links libFuzzer's
  # runtime itself (-fsanitize=fuzzer, see tests/fuzz).
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz build needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
                      -fsanitize-coverage-ignorelist=${PROJECT_SOURCE_DIR}/tests/fuzz/coverage_ignorelist.txt)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(NOT VELMOT_SANITIZE STREQUAL "")
  message(FATAL_ERROR "VELMOT_SANITIZE must be empty, asan, tsan or fuzz")
endif()
