# Imported targets for the libraries that scripts/setup.sh cross-builds into DEPS_PREFIX,
# and zlib from Debian's MinGW package.
foreach(lib png16 jpeg gtest gmock)
  if(NOT EXISTS "${DEPS_PREFIX}/lib/lib${lib}.a")
    message(FATAL_ERROR "lib${lib}.a is missing from ${DEPS_PREFIX}: run scripts/setup.sh")
  endif()
endforeach()

add_library(deps::zlib STATIC IMPORTED)
set_target_properties(deps::zlib PROPERTIES IMPORTED_LOCATION /usr/${MINGW_TRIPLE}/lib/libz.a)

add_library(deps::png STATIC IMPORTED)
set_target_properties(deps::png PROPERTIES
  IMPORTED_LOCATION "${DEPS_PREFIX}/lib/libpng16.a"
  INTERFACE_INCLUDE_DIRECTORIES "${DEPS_PREFIX}/include"
  INTERFACE_LINK_LIBRARIES deps::zlib)

add_library(deps::jpeg STATIC IMPORTED)
set_target_properties(deps::jpeg PROPERTIES
  IMPORTED_LOCATION "${DEPS_PREFIX}/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${DEPS_PREFIX}/include")

add_library(deps::gtest STATIC IMPORTED)
set_target_properties(deps::gtest PROPERTIES
  IMPORTED_LOCATION "${DEPS_PREFIX}/lib/libgtest.a"
  INTERFACE_INCLUDE_DIRECTORIES "${DEPS_PREFIX}/include")

add_library(deps::gmock STATIC IMPORTED)
set_target_properties(deps::gmock PROPERTIES
  IMPORTED_LOCATION "${DEPS_PREFIX}/lib/libgmock.a"
  INTERFACE_LINK_LIBRARIES deps::gtest)
