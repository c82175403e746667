# TinyXML (from Debian's source package, fetched by scripts/setup-deps.sh),
# zlib (Debian's mingw-w64 static library) and GoogleTest (Debian's sources).

set(TINYXML_DIR "${QLR_DEPS_DIR}/tinyxml")
if(NOT EXISTS "${TINYXML_DIR}/tinyxml.h")
  message(FATAL_ERROR "TinyXML sources missing in ${TINYXML_DIR}: run scripts/setup-deps.sh")
endif()
add_library(tinyxml STATIC
  ${TINYXML_DIR}/tinystr.cpp ${TINYXML_DIR}/tinyxml.cpp
  ${TINYXML_DIR}/tinyxmlerror.cpp ${TINYXML_DIR}/tinyxmlparser.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_compile_options(tinyxml PRIVATE -w)
target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_DIR})

find_library(QLR_ZLIB NAMES libz.a z REQUIRED)
add_library(zlib_static INTERFACE)
target_link_libraries(zlib_static INTERFACE ${QLR_ZLIB})

if(QLR_BUILD_TESTS)
  set(GTEST_SRC /usr/src/googletest)
  if(NOT EXISTS ${GTEST_SRC}/googletest/src/gtest-all.cc)
    message(FATAL_ERROR "GoogleTest sources missing: apt-get install googletest")
  endif()
  add_library(gtest STATIC ${GTEST_SRC}/googletest/src/gtest-all.cc)
  target_include_directories(gtest SYSTEM PUBLIC ${GTEST_SRC}/googletest/include
                             PRIVATE ${GTEST_SRC}/googletest)
  add_library(gmock STATIC ${GTEST_SRC}/googlemock/src/gmock-all.cc)
  target_include_directories(gmock SYSTEM PUBLIC ${GTEST_SRC}/googlemock/include
                             PRIVATE ${GTEST_SRC}/googlemock)
  target_link_libraries(gmock PUBLIC gtest)
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gmock PRIVATE -w)
endif()
