# Helpers that keep each subsystem's CMakeLists.txt to a few lines.
#
# qlr_module(<name> [DEPENDS libs...])
#   A static library of every .cpp directly in the calling folder, plus the
#   .cpp files of any sub-folder listed in SUBDIRS.
# qlr_tests(<module> [DEPENDS libs...] [RESOURCES files...])
#   One test program per tests/*_test.cpp of the calling folder (and per
#   tests/<d>/*_test.cpp of each d in SUBDIRS), linked with
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
  cmake_parse_arguments(T "" "" "DEPENDS;RESOURCES;SUBDIRS" ${ARGN})
  # Tests sit in tests/ or, in a big module, in the tests/<concern>/ folders
  # listed in SUBDIRS.
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*_test.cpp)
  foreach(d ${T_SUBDIRS})
    file(GLOB more CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/${d}/*_test.cpp)
    list(APPEND tests ${more})
  endforeach()
  foreach(t ${tests})
    get_filename_component(base ${t} NAME_WE)
    get_filename_component(dir ${t} DIRECTORY)
    set(exe ${module}_${base})
    # A <name>_test.rc beside the test file is compiled into it.
    set(own_rc)
    if(EXISTS ${dir}/${base}.rc)
      set(own_rc ${dir}/${base}.rc)
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
  if(QLR_BUILD_TESTS)
    # The link map tells which sources went into the program; the resource
    # test loads every id they load from the built program.
    set(map ${CMAKE_BINARY_DIR}/resource_ids/${name}.map)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/resource_ids)
    target_link_options(${name} PRIVATE -Wl,-Map=${map})
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/scan_resource_ids.py ${map} ${CMAKE_SOURCE_DIR}
              ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/resource_ids/${name}.txt
      VERBATIM)
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

# windres reports no dependencies, so a resource script would not be compiled
# again when a file it includes (a string table, a header of ids, an icon)
# changes. qlr_resource_depends(<dirs...>) scans every .rc of the project for
# the project files it names, recursively, and makes each script depend on
# them in the given build directories. The named files also re-run CMake, so
# a newly included file is picked up.
function(_qlr_rc_files_of file out)
  set(found)
  if(EXISTS ${file})
    file(STRINGS ${file} lines REGEX "\"[^\"]+\\.(rc|h|ico|bmp|cur|wav|html|htm|css|png|manifest)\"")
    foreach(line ${lines})
      string(REGEX MATCHALL "\"[^\"]+\\.(rc|h|ico|bmp|cur|wav|html|htm|css|png|manifest)\"" names "${line}")
      foreach(name ${names})
        string(REPLACE "\"" "" name "${name}")
        # Project files are named from the top of the tree.
        if(EXISTS ${CMAKE_SOURCE_DIR}/${name})
          list(APPEND found ${CMAKE_SOURCE_DIR}/${name})
        endif()
      endforeach()
    endforeach()
  endif()
  list(REMOVE_DUPLICATES found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(qlr_resource_depends)
  file(GLOB_RECURSE scripts ${CMAKE_SOURCE_DIR}/*.rc)
  list(FILTER scripts EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/build/")
  foreach(rc ${scripts})
    set(all)
    set(todo ${rc})
    while(todo)
      list(POP_FRONT todo current)
      _qlr_rc_files_of(${current} named)
      foreach(n ${named})
        if(NOT n IN_LIST all AND NOT n STREQUAL rc)
          list(APPEND all ${n})
          if(n MATCHES "\\.(rc|h)$")
            list(APPEND todo ${n})
          endif()
        endif()
      endforeach()
    endwhile()
    if(all)
      set_source_files_properties(${rc} DIRECTORY ${ARGN} PROPERTIES OBJECT_DEPENDS "${all}")
      set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rc} ${all})
    endif()
  endforeach()
endfunction()

# qlr_delay_load(<target> <dll> <function@argument-bytes>...)
#   The target loads the DLL when one of the functions is first called,
#   not as it starts. The delay-import library is made from the names with
#   dlltool and linked whole ahead of the objects, so the plain import
#   library of the DLL is never used for them.
function(qlr_delay_load target dll)
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}_${dll}_delay.def)
  set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${target}_${dll}_delay.a)
  set(text "LIBRARY ${dll}.dll\nEXPORTS\n")
  foreach(f ${ARGN})
    # WINAPI names carry their @n only on 32-bit; dlltool -k imports them plain.
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "@[0-9]+$" "" f ${f})
    endif()
    string(APPEND text "${f}\n")
  endforeach()
  file(WRITE ${def}.in "${text}")
  configure_file(${def}.in ${def} COPYONLY)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} -k -d ${def} -y ${lib}
    DEPENDS ${def}
    VERBATIM)
  add_custom_target(${target}_${dll}_delay DEPENDS ${lib})
  add_dependencies(${target} ${target}_${dll}_delay)
  # One option per library: repeated options are merged by CMake.
  target_link_options(${target} PRIVATE -Wl,--whole-archive,${lib},--no-whole-archive)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${lib})
endfunction()
