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
#   EXCEPTIONS: the folder catches exceptions (see vsmr_without_exceptions).
function(vsmr_add_subsystem_library name)
  cmake_parse_arguments(L "EXCEPTIONS" "" "LIBS" ${ARGN})
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
    if(NOT L_EXCEPTIONS)
      vsmr_without_exceptions(${name})
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${L_LIBS})
  endif()
  set_property(GLOBAL APPEND PROPERTY VSMR_PROJECT_LINKS ${L_LIBS})
endfunction()

# vsmr_without_exceptions(target): compiles a library without exception support.
#   The program catches one exception, std::bad_alloc, and only in the POP3
#   client, where a server states the size of what it sends; anywhere else an
#   exception ends in std::terminate. The unwinding tables and clean-up code of
#   every other function were a sixth of the shipped executable and changed
#   nothing but how the program ends: a failed allocation outside the POP3 client
#   still ends in std::terminate, now at the frame with no unwinding table.
#   A try or throw in such a library does not compile.
#   32-bit Windows unwinds by tables that GCC writes for every function even so;
#   there they are left out as well.
function(vsmr_without_exceptions target)
  target_compile_options(${target} PRIVATE -fno-exceptions)
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
  endif()
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
