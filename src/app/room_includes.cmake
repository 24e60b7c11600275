# A build step of every room of src/app (cmake -P): fails when a file in
# FOLDER includes a header of an application room not named in ALLOWED (the
# folder's own room and those below it, comma-separated). All rooms share src/
# as their include root, so without this check an include that runs back up
# would still compile.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" allowed "${ALLOWED}")
file(GLOB files "${FOLDER}/*.h" "${FOLDER}/*.cpp")
set(upward "")
foreach(file IN LISTS files)
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"app/[a-z_]+/")
  foreach(line IN LISTS includes)
    string(REGEX MATCH "\"app/([a-z_]+)/" room "${line}")
    if(NOT CMAKE_MATCH_1 IN_LIST allowed)
      string(APPEND upward "\n  ${file}: ${line}")
    endif()
  endforeach()
endforeach()
if(upward)
  message(FATAL_ERROR "Files in ${FOLDER} may include only app/{${ALLOWED}}, not:${upward}")
endif()
