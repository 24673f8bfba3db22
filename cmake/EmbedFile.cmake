# Writes a C++ source that holds a file's bytes: cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=...
# -P EmbedFile.cmake. The symbol is declared as `extern const unsigned char SYMBOL[]` plus
# `extern const std::size_t SYMBOL_size`.
file(READ "${INPUT}" _hex HEX)
string(LENGTH "${_hex}" _len)
math(EXPR _size "${_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
string(REGEX
       REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
               "\\1\n" _bytes "${_bytes}")
file(
  WRITE "${OUTPUT}.tmp"
  "#include <cstddef>\nextern const unsigned char ${SYMBOL}[] = {\n${_bytes}\n};\nextern const std::size_t ${SYMBOL}_size = ${_size};\n"
)
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
