# Script mode: writes the text of IN as a C++ raw string named IDENT into OUT.
file(READ ${IN} text)
string(FIND "${text}" ")glsl\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${IN} contains the raw-string delimiter")
endif()
file(WRITE ${OUT}.tmp "// Generated from ${IN}; edit the .glsl file.\n#pragma once\ninline constexpr char ${IDENT}[] = R\"glsl(${text})glsl\";\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
