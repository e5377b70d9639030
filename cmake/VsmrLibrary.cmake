# The program's libraries: one static library per subsystem folder under src/.
#
# vsmr_add_subsystem_library(name [LIBS lib...])
#   A static library of every .cpp in the calling folder; *_win.cpp only in the
#   Windows builds, *_posix.cpp only elsewhere. New files are picked up without
#   editing any CMakeLists.txt. A folder of headers alone gives an interface
#   library. LIBS are the project libraries whose headers the folder's files
#   include, and nothing else (tools/check_layers.py compares the two); each
#   must be a target by the end of the configuration, so a misspelled name
#   stops the configuration instead of becoming a linker flag.
function(vsmr_add_subsystem_library name)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
  endif()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${L_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${L_LIBS})
  endif()
  set_property(GLOBAL APPEND PROPERTY VSMR_PROJECT_LINKS ${L_LIBS})
endfunction()

# vsmr_link_libraries(target lib...): links project libraries to a target that
# is not made by vsmr_add_subsystem_library, with the same check of the names.
function(vsmr_link_libraries target)
  target_link_libraries(${target} PUBLIC ${ARGN})
  set_property(GLOBAL APPEND PROPERTY VSMR_PROJECT_LINKS ${ARGN})
endfunction()

function(vsmr_check_project_links)
  get_property(links GLOBAL PROPERTY VSMR_PROJECT_LINKS)
  list(REMOVE_DUPLICATES links)
  foreach(lib IN LISTS links)
    if(NOT TARGET ${lib})
      message(FATAL_ERROR "${lib} is linked as a project library but no such library exists")
    endif()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vsmr_check_project_links)
