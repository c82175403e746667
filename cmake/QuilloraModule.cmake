# Helpers that keep each subsystem's CMakeLists.txt to a few lines.
#
# qlr_module(<name> [DEPENDS libs...])
#   A static library of every .cpp directly in the calling folder, plus the
#   .cpp files of any sub-folder listed in SUBDIRS.
# qlr_tests(<module> [DEPENDS libs...] [RESOURCES files...])
#   One test program per tests/*_test.cpp of the calling folder, linked with
#   the module, GoogleTest and the test support library, each registered
#   with CTest (run under Wine through the cross-compiling emulator). A
#   tests/<name>_test.rc is compiled into its own test program.

set(QLR_SYSTEM_LIBS user32 gdi32 comctl32 comdlg32 shell32 shlwapi ole32 oleaut32
    uuid advapi32 version winmm psapi wininet urlmon msimg32 uxtheme imm32 ws2_32 rpcrt4)

# A test program that dies without GoogleTest's closing verdict (a crash that
# Wine reports with exit code 0, say) must not count as passed.
set(QLR_GTEST_VERDICT PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                      FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")

function(qlr_module name)
  cmake_parse_arguments(M "" "" "DEPENDS;SUBDIRS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(d ${M_SUBDIRS})
    file(GLOB more CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${d}/*.cpp)
    list(APPEND srcs ${more})
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_link_libraries(${name} PUBLIC ${M_DEPENDS} ${QLR_SYSTEM_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${M_DEPENDS} ${QLR_SYSTEM_LIBS})
  endif()
endfunction()

function(qlr_tests module)
  if(NOT QLR_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "DEPENDS;RESOURCES" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*_test.cpp)
  foreach(t ${tests})
    get_filename_component(base ${t} NAME_WE)
    set(exe ${module}_${base})
    # A tests/<name>_test.rc beside the test file is compiled into it.
    set(own_rc)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/${base}.rc)
      set(own_rc ${CMAKE_CURRENT_SOURCE_DIR}/tests/${base}.rc)
    endif()
    add_executable(${exe} ${t} ${T_RESOURCES} ${own_rc})
    target_link_libraries(${exe} PRIVATE ${module} ${T_DEPENDS} qlr_test_support gmock gtest)
    add_test(NAME ${exe} COMMAND ${exe} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set_tests_properties(${exe} PROPERTIES TIMEOUT 300 ${QLR_GTEST_VERDICT})
  endforeach()
endfunction()

# qlr_program(<name> GUI|CONSOLE SOURCES ... DEPENDS ...)
function(qlr_program name kind)
  cmake_parse_arguments(P "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_DEPENDS} ${QLR_SYSTEM_LIBS})
  target_link_options(${name} PRIVATE -municode)
  if(kind STREQUAL "GUI")
    target_link_options(${name} PRIVATE -mwindows)
  endif()
endfunction()

# qlr_small_program(<target> <source>)
# A wmain program linked with the foundation; one whose file name starts with
# a module's name (settings_probe -> settings) also links that module. Used
# for test helpers and benchmarks.
function(qlr_small_program target src)
  get_filename_component(base ${src} NAME_WE)
  add_executable(${target} ${src})
  target_link_libraries(${target} PRIVATE foundation ${QLR_SYSTEM_LIBS})
  string(REGEX MATCH "^[a-z]+" prefix ${base})
  if(TARGET ${prefix} AND NOT prefix STREQUAL "foundation")
    target_link_libraries(${target} PRIVATE ${prefix})
  endif()
  target_link_options(${target} PRIVATE -municode)
endfunction()
