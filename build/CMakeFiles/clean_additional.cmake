# Additional clean files
cmake_minimum_required(VERSION 3.16)

if("${CONFIG}" STREQUAL "" OR "${CONFIG}" STREQUAL "")
  file(REMOVE_RECURSE
  "src/runtime/CMakeFiles/framora_runtime_autogen.dir/AutogenUsed.txt"
  "src/runtime/CMakeFiles/framora_runtime_autogen.dir/ParseCache.txt"
  "src/runtime/framora_runtime_autogen"
  )
endif()
