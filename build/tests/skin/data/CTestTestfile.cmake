# CMake generated Testfile for 
# Source directory: /work/main/tests/skin/data
# Build directory: /work/main/build/tests/skin/data
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
include("/work/main/build/tests/skin/data/skin_data_tests[1]_include.cmake")
