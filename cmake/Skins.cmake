# Skins built into the program at build time.

# framora_embed_skin(TARGET NAME SKIN_DIR [FILES file...]): packs SKIN_DIR/skin.ini and its
# bitmaps at build time and compiles the result into TARGET. The skin is then found with
# sk::FindEmbeddedSkin("NAME") and by the function EmbeddedSkin_<NAME>() declared in the
# generated header "EmbeddedSkin_<NAME>.h" (characters other than letters and digits become _).
# FILES names the folder's files when they are generated during the build; otherwise every file
# in the folder counts as an input.
function(framora_embed_skin TARGET NAME SKIN_DIR)
  cmake_parse_arguments(PARSE_ARGV 3 _arg "" "" "FILES")
  get_filename_component(_dir "${SKIN_DIR}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  string(MAKE_C_IDENTIFIER "${NAME}" _id)
  set(_out "${CMAKE_CURRENT_BINARY_DIR}/embedded_skins/${TARGET}")
  set(_skin "${_out}/${_id}.skin")
  set(_cpp "${_out}/EmbeddedSkin_${_id}.cpp")
  set(_hdr "${_out}/EmbeddedSkin_${_id}.h")
  if(_arg_FILES)
    set(_inputs ${_arg_FILES})
  else()
    file(GLOB _inputs CONFIGURE_DEPENDS "${_dir}/*")
  endif()
  add_custom_command(
    OUTPUT "${_skin}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${_out}"
    COMMAND skinpack "${_dir}/skin.ini" "${_skin}"
    DEPENDS skinpack ${_inputs}
    COMMENT "Packing skin ${NAME} from ${_dir}"
    VERBATIM)
  add_custom_command(
    OUTPUT "${_cpp}" "${_hdr}"
    COMMAND skinpack --embed "${NAME}" "${_skin}" "${_cpp}" "${_hdr}"
    DEPENDS skinpack "${_skin}"
    COMMENT "Embedding skin ${NAME}"
    VERBATIM)
  target_sources(${TARGET} PRIVATE "${_cpp}" "${_hdr}")
  target_include_directories(${TARGET} PRIVATE "${_out}")
endfunction()

# The built-in skins in the skin menu's order, drawn by framora-skinart (tools/skinart) into
# FRAMORA_SKIN_DIR, one folder each; the program's table of them (BuiltinSkins.h) is written
# from this list. The file names are the tool's (kSkinFileNames in tools/skinart/SkinBuilder.cpp).
set(FRAMORA_BUILTIN_SKINS WinAqua Winxpblue Wistler)
set(FRAMORA_SKIN_FILES
    skin.ini
    frame.bmp
    mask.bmp
    objects.bmp
    controls.bmp
    popup.bmp
    popupmask.bmp
    hint.bmp
    hintmask.bmp)
set(FRAMORA_SKIN_DIR "${PROJECT_BINARY_DIR}/skins")

# Draws the built-in skins and embeds each into TARGET. The tool rewrites only files whose
# bytes changed, and the build re-stats them after it ran, so a relinked tool that draws the
# same pictures repacks and recompiles nothing.
function(framora_embed_builtin_skins TARGET)
  set(_all)
  foreach(_skin ${FRAMORA_BUILTIN_SKINS})
    foreach(_file ${FRAMORA_SKIN_FILES})
      list(APPEND _all "${FRAMORA_SKIN_DIR}/${_skin}/${_file}")
    endforeach()
  endforeach()
  add_custom_command(
    OUTPUT "${FRAMORA_SKIN_DIR}/skins.stamp"
    BYPRODUCTS ${_all}
    COMMAND framora-skinart "${FRAMORA_SKIN_DIR}" "${FRAMORA_SKIN_DIR}/skins.stamp"
            ${FRAMORA_BUILTIN_SKINS}
    DEPENDS framora-skinart
    COMMENT "Drawing the built-in skins"
    VERBATIM)
  add_custom_target(${TARGET}_skins DEPENDS "${FRAMORA_SKIN_DIR}/skins.stamp")
  add_dependencies(${TARGET} ${TARGET}_skins)
  foreach(_skin ${FRAMORA_BUILTIN_SKINS})
    set(_files)
    foreach(_file ${FRAMORA_SKIN_FILES})
      list(APPEND _files "${FRAMORA_SKIN_DIR}/${_skin}/${_file}")
    endforeach()
    framora_embed_skin(${TARGET} ${_skin} "${FRAMORA_SKIN_DIR}/${_skin}" FILES ${_files})
  endforeach()
  framora_builtin_skins_table(${TARGET})
endfunction()

# Writes "BuiltinSkins.h" beside TARGET's embedded skins and puts it on the include path of
# TARGET and its users: sk::kBuiltinSkins, the built-in skins' names and bytes in the order of
# FRAMORA_BUILTIN_SKINS, the one list the program's skin menu, its stored choice and the tests
# read.
function(framora_builtin_skins_table TARGET)
  set(_out "${CMAKE_CURRENT_BINARY_DIR}/embedded_skins/${TARGET}")
  set(_includes "")
  set(_rows "")
  foreach(_skin ${FRAMORA_BUILTIN_SKINS})
    string(MAKE_C_IDENTIFIER "${_skin}" _id)
    string(APPEND _includes "#include \"EmbeddedSkin_${_id}.h\"\n")
    string(APPEND _rows "    {\"${_skin}\", &EmbeddedSkin_${_id}},\n")
  endforeach()
  file(
    CONFIGURE
    OUTPUT
    "${_out}/BuiltinSkins.h"
    CONTENT
    "#pragma once
// Generated from FRAMORA_BUILTIN_SKINS (cmake/Skins.cmake): the built-in skins in menu order.

#include <cstdint>
#include <vector>

${_includes}
namespace sk {

struct TskBuiltinSkin {
    const char* Name;
    const std::vector<std::uint8_t>& (*Bytes)();
};

inline constexpr TskBuiltinSkin kBuiltinSkins[] = {
${_rows}};

}  // namespace sk
"
    @ONLY)
  target_include_directories(${TARGET} PUBLIC "${_out}")
endfunction()
