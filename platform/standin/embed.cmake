# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a file's bytes as a C++ array: cmake -DINPUT=file -DOUTPUT=x.cpp -DNAME=symbol -P embed.cmake
# A generated source rather than an assembler .incbin, so that the compiler cache sees the
# bytes change.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
     "// Generated from ${INPUT} by embed.cmake.\n#include <cstddef>\n\n"
     "extern const unsigned char ${NAME}[];\nextern const std::size_t ${NAME}_size;\n"
     "alignas(16) const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
     "const std::size_t ${NAME}_size = ${size};\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
