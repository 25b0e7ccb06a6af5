# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a C++ source holding the bytes of INPUT as an array behind two
# functions: cmake -DINPUT=a.jpg -DOUTPUT=a.cpp -DNAME=BannerJpeg -P EmbedFile.cmake
file(READ "${INPUT}" Hex HEX)
string(LENGTH "${Hex}" HexLength)
math(EXPR Size "${HexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," Bytes "${Hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" Bytes "${Bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include <cstddef>
#include <cstdint>

namespace {
const std::uint8_t Bytes[${Size}] = {
${Bytes}};
}  // namespace

const std::uint8_t* ${NAME}Data() { return Bytes; }
std::size_t ${NAME}Size() { return sizeof Bytes; }
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
