# cmake -DNM=<nm> -DLIBRARIES=<a.a|b.a|...> -P link_classes_apart.cmake
# The editor's link control and the window layer's share a class name; each
# lives in its own namespace so that no program can link the one in place
# of the other. Fails when a library names a CHyperLink outside a namespace.
string(REPLACE "|" ";" libraries "${LIBRARIES}")
foreach(lib ${libraries})
  if(NOT EXISTS "${lib}")
    message(FATAL_ERROR "${lib} has not been built")
  endif()
  execute_process(COMMAND ${NM} "${lib}" OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${lib}")
  endif()
  if(NOT symbols MATCHES "10CHyperLink")
    message(FATAL_ERROR "${lib} holds no link control")
  endif()
  # Members, vtable and type information of a class at global scope.
  if(symbols MATCHES "_Z(N|TV|TI|TS)10CHyperLink")
    message(FATAL_ERROR "${lib} has a CHyperLink outside a namespace")
  endif()
endforeach()
message(STATUS "the link controls keep to their namespaces")
