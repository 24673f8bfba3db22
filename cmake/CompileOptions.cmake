# Project-wide compile settings applied through one interface target.
add_library(framora_options INTERFACE)
target_compile_options(framora_options INTERFACE -Wall -Wextra -Woverloaded-virtual
                                                 -Wnon-virtual-dtor)
if(FRAMORA_WERROR)
  target_compile_options(framora_options INTERFACE -Werror)
endif()
if(FRAMORA_SANITIZE)
  target_compile_options(
    framora_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=undefined
                              -fno-omit-frame-pointer)
  target_link_options(framora_options INTERFACE -fsanitize=address,undefined)
endif()
if(FRAMORA_FUZZ)
  # Everything is instrumented for coverage; only the fuzz targets link libFuzzer's main.
  # Optimised as libFuzzer advises, and every sanitizer finding ends the run, UBSan's included.
  target_compile_options(
    framora_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                              -fno-omit-frame-pointer -O1 -gline-tables-only)
  target_link_options(framora_options INTERFACE -fsanitize=address,undefined)
endif()
