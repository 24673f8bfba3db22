# Project-wide compile settings applied through one interface target.
add_library(framora_options INTERFACE)
target_compile_options(framora_options INTERFACE -Wall -Wextra -Woverloaded-virtual -Wnon-virtual-dtor)
if(FRAMORA_WERROR)
  target_compile_options(framora_options INTERFACE -Werror)
endif()
if(FRAMORA_SANITIZE)
  target_compile_options(framora_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(framora_options INTERFACE -fsanitize=address,undefined)
endif()
if(FRAMORA_FUZZ)
  # Everything is instrumented for coverage; only the fuzz targets link libFuzzer's main.
  target_compile_options(framora_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(framora_options INTERFACE -fsanitize=address,undefined)
endif()

# Adds one static library built from every source in the calling folder.
function(framora_layer name)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB _hdrs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${_srcs} ${_hdrs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC framora_options)
endfunction()

# One GoogleTest executable per test folder; every *.cpp in it is part of it.
function(framora_test name)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${_srcs})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock framora_options)
  # A folder with its own test_main.cpp (e.g. to create the Qt application) keeps it.
  if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/test_main.cpp)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    FRAMORA_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/../shared/media-samples"
    FRAMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    FRAMORA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endfunction()
