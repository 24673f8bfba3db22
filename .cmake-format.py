# The layout of the CMake files, checked by scripts/check-format.sh with cmake-format.
with section("format"):
    line_width = 100
    tab_size = 2
    dangle_parens = False
    max_pargs_hwrap = 6
with section("markup"):
    enable_markup = False
