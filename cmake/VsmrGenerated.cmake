# vsmr_python_output(out_var SCRIPT OUTPUT COMMENT)
#   A file made at build time by a Python script of the calling folder, which
#   takes the file's path as its only argument. SCRIPT is relative to the
#   calling source folder, OUTPUT to its build folder; out_var receives the
#   output's full path, for a target's sources or a custom target's DEPENDS.
function(vsmr_python_output out_var script output comment)
  set(path ${CMAKE_CURRENT_BINARY_DIR}/${output})
  add_custom_command(OUTPUT ${path}
                     COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${path}
                     DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${script}
                     COMMENT "${comment}")
  set(${out_var} ${path} PARENT_SCOPE)
endfunction()
