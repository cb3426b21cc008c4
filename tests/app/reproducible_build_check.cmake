# Builds the shipped program a second time, from a copy of the source tree in another folder into
# another build folder, and checks that it is byte for byte the program of this build: no time
# stamp, no folder name and no other trace of where and when it was built.
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DPROGRAM=... -DTOOLCHAIN_NAME=mingw-ARCH.cmake
#         -DBUILD_TYPE=... -DDEPS_PREFIX=... -P reproducible_build_check.cmake
cmake_minimum_required(VERSION 3.20)

# run(COMMAND...): runs a command; its failure ends the check with its output.
function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGV}")
    message(FATAL_ERROR "${command} failed (exit status ${status}):\n${output}")
  endif()
endfunction()

# The tree as it is in the working copy: tracked files and new ones that are not ignored.
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND git -C "${SOURCE_DIR}" ls-files --cached --others --exclude-standard
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "git ls-files failed in ${SOURCE_DIR}: the check copies the tree that git lists")
endif()
string(REPLACE "\n" ";" files "${listing}")
foreach(file IN LISTS files)
  if(file STREQUAL "" OR NOT EXISTS "${SOURCE_DIR}/${file}")
    continue()  # deleted in the working copy
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  file(COPY "${SOURCE_DIR}/${file}" DESTINATION "${WORK_DIR}/source/${folder}")
endforeach()

string(TIMESTAMP started "%s")
run("${CMAKE_COMMAND}" -S "${WORK_DIR}/source" -B "${WORK_DIR}/build" -G Ninja
  "-DCMAKE_TOOLCHAIN_FILE=${WORK_DIR}/source/cmake/${TOOLCHAIN_NAME}" "-DCMAKE_BUILD_TYPE=${BUILD_TYPE}"
  "-DDEPS_PREFIX=${DEPS_PREFIX}")
run("${CMAKE_COMMAND}" --build "${WORK_DIR}/build" --target CaldwexUninstaller)
string(TIMESTAMP finished "%s")
math(EXPR seconds "${finished} - ${started}")

get_filename_component(name "${PROGRAM}" NAME)
file(SHA256 "${PROGRAM}" expected)
file(SHA256 "${WORK_DIR}/build/${name}" actual)
if(NOT expected STREQUAL actual)
  message(FATAL_ERROR "The program built in ${WORK_DIR}/build differs from ${PROGRAM}:\n"
    "  ${actual}\n  ${expected}\n"
    "The second build is kept there; compare the two, e.g. with cmp -l or objdump -p.")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "A second build in another folder gave the same ${name} (SHA-256 ${actual}), in ${seconds} s")
