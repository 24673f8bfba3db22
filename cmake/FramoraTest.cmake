# Real-world media files that tests read when the folder exists (they skip otherwise).
set(FRAMORA_SAMPLES_DIR
    "${PROJECT_SOURCE_DIR}/../shared/media-samples"
    CACHE PATH "Folder of real-world media samples for the tests")

# One GoogleTest executable per test folder; every *.cpp in it is part of it, with the one test
# main of tests/common. framora_test(NAME [APPLICATION] [MEDIA] LIBS...): APPLICATION gives the
# run one offscreen application object (for windows and text), MEDIA silences FFmpeg's logs.
function(framora_test name)
  cmake_parse_arguments(PARSE_ARGV 1 _t "APPLICATION;MEDIA" "" "")
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${_srcs} ${PROJECT_SOURCE_DIR}/tests/common/TestMain.cpp)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${_t_UNPARSED_ARGUMENTS} GTest::gtest GTest::gmock
                                        framora_options)
  if(_t_APPLICATION)
    target_compile_definitions(${name} PRIVATE FRAMORA_TEST_APPLICATION)
    target_link_libraries(${name} PRIVATE framora_runtime)
  endif()
  if(_t_MEDIA)
    target_compile_definitions(${name} PRIVATE FRAMORA_TEST_MEDIA)
    target_link_libraries(${name} PRIVATE framora_media)
  endif()
  target_compile_definitions(
    ${name}
    PRIVATE FRAMORA_SAMPLES_DIR="${FRAMORA_SAMPLES_DIR}" FRAMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
            FRAMORA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(
    ${name} DISCOVERY_TIMEOUT 120
    PROPERTIES
      ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endfunction()
