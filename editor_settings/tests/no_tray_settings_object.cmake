# cmake -DNM=<nm> -DLIBRARIES=<a.a|b.a|...> -P no_tray_settings_object.cmake
# Fails when a library refers to the tray program's GetSettings(). A library
# that has not been built (the editor's, before it holds code) is skipped;
# the first one must exist.
string(REPLACE "|" ";" libraries "${LIBRARIES}")
list(GET libraries 0 first)
if(NOT EXISTS "${first}")
  message(FATAL_ERROR "${first} has not been built")
endif()
set(checked 0)
foreach(lib ${libraries})
  if(NOT EXISTS "${lib}")
    continue()
  endif()
  execute_process(COMMAND ${NM} -u "${lib}" OUTPUT_VARIABLE undefined RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${lib}")
  endif()
  # GetSettings() as the compiler names it, with or without a leading "_".
  if(undefined MATCHES "(^|[ \n_])_Z11GetSettingsv")
    message(FATAL_ERROR "${lib} uses the tray program's settings object GetSettings()")
  endif()
  math(EXPR checked "${checked} + 1")
endforeach()
message(STATUS "${checked} libraries keep to the editor's settings object")
