# Delayed loading of Windows DLLs for one executable: each DLL named is loaded when the
# program calls LoadDelayedImports (src/app/delay_imports_win.h) instead of before its
# entry. The delay import libraries carry the ordinary import libraries' names in a
# folder searched first, so every `-lshell32` of the target's link line, whichever
# library asked for it, takes the delayed one. A DLL whose import library also holds
# data the program uses cannot be delayed: the link then fails with that symbol undefined.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(vsmr_delay_load target)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}-delayed)
  set(libraries)
  set(declarations)
  set(entries)
  foreach(name IN LISTS ARGN)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${name}.a
                    OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT EXISTS "${import_library}")
      message(FATAL_ERROR "The toolchain has no import library lib${name}.a to delay")
    endif()
    set(output ${folder}/lib${name}.a)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                       COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/delay_import_lib.py
                               ${CMAKE_NM} ${CMAKE_DLLTOOL} ${import_library} ${name}.dll ${output}
                               ${CMAKE_SIZEOF_VOID_P}
                       DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delay_import_lib.py ${import_library}
                       COMMENT "Delay import library for ${name}.dll")
    list(APPEND libraries ${output})
    string(APPEND declarations "extern \"C\" const ImgDelayDescr ${name}_dll "
                               "asm(\"__DELAY_IMPORT_DESCRIPTOR_lib${name}_a\");\n")
    string(APPEND entries "&${name}_dll, ")
  endforeach()
  file(GENERATE OUTPUT ${folder}/delayed_dlls.cpp CONTENT
"// The delay import descriptors of ${target}'s delayed DLLs (cmake/VsmrDelayLoad.cmake).
#include \"app/delay_imports_win.h\"

${declarations}
namespace vsmr {
const ImgDelayDescr* const kDelayedDlls[] = {${entries}nullptr};
}  // namespace vsmr
")
  target_sources(${target} PRIVATE ${folder}/delayed_dlls.cpp)
  add_custom_target(${target}-delayed DEPENDS ${libraries})
  add_dependencies(${target} ${target}-delayed)
  target_link_directories(${target} BEFORE PRIVATE ${folder})
  # A library's change does not touch the target's inputs otherwise.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${libraries})
endfunction()
