# Turns a resource file into a C++ source holding its bytes:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedResource.cmake
# The bytes go in as a hex array, so any content (a maker name with "å", quotes,
# backslashes) survives unchanged.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
       "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} by EmbedResource.cmake; do not edit.
#include <string_view>

namespace qx7::resources {
namespace {
const unsigned char bytes[] = {
${bytes}0x00};
} // namespace
extern const std::string_view ${SYMBOL};
const std::string_view ${SYMBOL}(reinterpret_cast<const char*>(bytes), sizeof(bytes) - 1);
} // namespace qx7::resources
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
