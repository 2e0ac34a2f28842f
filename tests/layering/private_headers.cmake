# The file layer's private headers: nothing outside src/files includes them. A header of the layer says so
# in its comment, "Nothing outside the file layer includes this.", or lets the layer's own tests in
# tests/files include it too: "Nothing outside the file layer and its tests (tests/files) includes this."
#
#   cmake -DROOT=<checkout> -DSCAN=src,tests,bench [-DSKIP=tests/layering] -P private_headers.cmake
#
# fails, naming each file that includes a private header, and what it includes.
cmake_policy(VERSION 3.25)
set(_private "")
set(_forTests "")
file(GLOB _headers "${ROOT}/src/files/*.h")
foreach(_header IN LISTS _headers)
  file(READ "${_header}" _text)
  # A comment's lines read as one text, so that the rule may break over them.
  string(REGEX REPLACE "\n// *" " " _text "${_text}")
  get_filename_component(_name "${_header}" NAME)
  if(_text MATCHES "Nothing outside the file layer includes this")
    list(APPEND _private "${_name}")
  elseif(_text MATCHES "Nothing outside the file layer and its tests \\(tests/files\\) includes this")
    list(APPEND _forTests "${_name}")
  endif()
endforeach()
if(NOT _private)
  message(FATAL_ERROR "no header of src/files says it is the layer's own")
endif()

set(_found "")
string(REPLACE "," ";" _folders "${SCAN}")
foreach(_folder IN LISTS _folders)
  file(GLOB_RECURSE _sources "${ROOT}/${_folder}/*.h" "${ROOT}/${_folder}/*.cpp")
  foreach(_source IN LISTS _sources)
    file(RELATIVE_PATH _at "${ROOT}" "${_source}")
    if(_at MATCHES "^src/files/" OR (SKIP AND _at MATCHES "^${SKIP}/"))
      continue()
    endif()
    file(STRINGS "${_source}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]files/")
    foreach(_include IN LISTS _includes)
      string(REGEX REPLACE ".*files/([^\">]*)[\">].*" "\\1" _name "${_include}")
      if(_name IN_LIST _private OR (_name IN_LIST _forTests AND NOT _at MATCHES "^tests/files/"))
        string(APPEND _found "\n  ${_at} includes the file layer's private header files/${_name}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(_found)
  message(FATAL_ERROR "Only the file layer includes its private headers:${_found}")
endif()
list(LENGTH _private _count)
message(STATUS "${_count} private headers of the file layer (${_private}), which nothing outside it includes; "
               "the layer's tests may include ${_forTests}")
