# The JSON library of the pond files: nlohmann/json, header-only (Debian's nlohmann-json3-dev).
# Every build includes it from RH_JSON_INCLUDE_DIR, the folder that holds nlohmann/json.hpp, through
# a folder of the build that links to the headers alone: the cross compilers (mingw-w64,
# emscripten) then meet none of the host's other headers.
set(RH_JSON_INCLUDE_DIR /usr/include CACHE PATH "The folder holding nlohmann/json.hpp")
if(NOT EXISTS ${RH_JSON_INCLUDE_DIR}/nlohmann/json.hpp)
  message(FATAL_ERROR "nlohmann/json.hpp is not in ${RH_JSON_INCLUDE_DIR}: install "
                      "nlohmann-json3-dev or set RH_JSON_INCLUDE_DIR")
endif()
set(rhJsonInclude ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${rhJsonInclude})
if(NOT EXISTS ${rhJsonInclude}/nlohmann)
  file(CREATE_LINK ${RH_JSON_INCLUDE_DIR}/nlohmann ${rhJsonInclude}/nlohmann SYMBOLIC)
endif()
