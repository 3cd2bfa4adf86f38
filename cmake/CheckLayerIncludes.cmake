# Fails when a file of the core folder FOLDER includes a header of another core folder that is
# not among USES. Run by the build (src/core/CMakeLists.txt) with FILES, the folder's files, and CORE_FOLDERS;
# touches STAMP when all is well.
cmake_minimum_required(VERSION 3.25)

set(allowed ${FOLDER} ${USES})
set(failures "")
foreach(file IN LISTS FILES)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][a-z]+/")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "include[ \t]*[\"<]([a-z]+)/" _ "${line}")
    set(used ${CMAKE_MATCH_1})
    if(used IN_LIST CORE_FOLDERS AND NOT used IN_LIST allowed)
      string(APPEND failures "  ${file}: ${line}\n")
    endif()
  endforeach()
endforeach()

list(JOIN allowed ", " allowed_text)
if(failures)
  message(FATAL_ERROR "src/core/${FOLDER} may include only ${allowed_text}; these reach elsewhere:\n${failures}")
endif()
file(TOUCH ${STAMP})
