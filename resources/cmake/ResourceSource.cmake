# Writes a C++ source that holds one resource file's bytes and registers them
# with their module while the library loads. Run as a script:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DMODULE=Veskar -DNAME=LENZ -DTYPE=rtBitmap -P ResourceSource.cmake
foreach(var INPUT OUTPUT MODULE NAME TYPE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ResourceSource.cmake needs -D${var}=...")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
if(size EQUAL 0)
  # An array may not be empty; the registered size stays 0.
  set(bytes "0")
else()
  # Sixteen bytes (32 hex digits) a line.
  string(REGEX REPLACE "(................................)" "\\1\n    " bytes "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
endif()

get_filename_component(file_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
"// Made by the build from ${file_name}; do not edit.
#include \"host/package/Resource.h\"

namespace {

const unsigned char Data[] = {
    ${bytes}
};

const host::TResourceRegistration Registration(\"${MODULE}\", \"${NAME}\", host::${TYPE}, Data, ${size});

} // namespace
")
