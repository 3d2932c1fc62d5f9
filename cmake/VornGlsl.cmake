# GLSL lives in .glsl files next to the code that uses it and is embedded at
# build time. A file "viewer.frag.glsl" becomes the header "<dir>/viewer.frag.glsl.h"
# (under build/generated) declaring `inline constexpr char glsl_viewer_frag[]`.
# The stage is the second-to-last extension (vert, geom, frag); every embedded
# file, its `#include "name.glsl"` lines expanded (EmbedGlsl.cmake), is also
# written to "<dir>/viewer.frag.glsl" under build/generated and listed in the
# global property VORN_GLSL_FILES for the test that checks them with the
# reference compiler.

function(vorn_embed_glsl target)
  foreach(src ${ARGN})
    get_filename_component(abs ${src} ABSOLUTE)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${abs})
    set(expanded ${CMAKE_BINARY_DIR}/generated/${rel})
    set(out ${expanded}.h)
    get_filename_component(dir ${abs} DIRECTORY)
    file(GLOB parts CONFIGURE_DEPENDS ${dir}/*.glsl)  # what it may include
    get_filename_component(fname ${abs} NAME)
    string(REGEX REPLACE "\\.glsl$" "" stem ${fname})
    string(MAKE_C_IDENTIFIER "glsl_${stem}" ident)
    add_custom_command(OUTPUT ${out} ${expanded}
      COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DEXPANDED=${expanded} -DIDENT=${ident}
              -P ${CMAKE_SOURCE_DIR}/cmake/EmbedGlsl.cmake
      DEPENDS ${parts} ${CMAKE_SOURCE_DIR}/cmake/EmbedGlsl.cmake
      COMMENT "Embedding ${rel}" VERBATIM)
    list(APPEND outputs ${out})
    set_property(GLOBAL APPEND PROPERTY VORN_GLSL_FILES ${expanded})
  endforeach()
  target_sources(${target} PRIVATE ${outputs})
endfunction()
