src/runtime/framora_runtime_autogen/timestamp: \
  /work/main/src/runtime/CMakeLists.txt \
  /work/main/src/runtime/Types.cpp \
  /work/main/src/runtime/Types.h \
  /usr/bin/cmake
