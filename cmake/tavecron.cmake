# Shared build rules: the subsystem libraries and the wall between them,
# compile options and test registration.

# The subsystems from the bottom layer up. Each links only layers below it:
# base holds the helpers that several of them share (code page 932, handle
# owners) and knows nothing of the others; the table knows only base; the command table writes cells through
# the table's messages; the schedule's due pass dispatches commands; the
# application holds them all.
set(TAVECRON_SUBSYSTEMS base table commands schedule app)

# How the wall works. No target has the source tree as an include directory.
# Each subsystem library has instead an include root of its own in the build
# tree that holds only that library's folder under the folder's own name:
#
#   build/include/table/table/*.h          links to each header of table/
#   build/include/table_win32/table/win32  a link to table/win32/
#
# and gives it as its PUBLIC include directory. So "table/table_model.h"
# resolves in the library itself and in the targets that link it, directly or
# through a PUBLIC link of a library they link, and nowhere else: an include
# of a higher layer, or of a Win32 binding from a portable core, fails to build
# with "No such file or directory". The links themselves go one way because
# tavecron_library refuses, when configuring, a link to a library of its own or
# a higher layer (a binding may link its own core). The sources write every
# include from the top of the tree ("commands/arg_vector.h"), never with "..",
# which would climb past the wall.

# Makes the include root of a subsystem's core (WIN32 false) or binding and
# answers its path. The core's root holds one link per header, so that the
# binding's files stay out of it; a new header reconfigures the build through
# the CONFIGURE_DEPENDS glob and gets its link then.
function(tavecron_include_root out sub win32)
  if(win32)
    set(root ${CMAKE_BINARY_DIR}/include/${sub}_win32)
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root}/${sub})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${sub}/win32 ${root}/${sub}/win32 SYMBOLIC)
  else()
    set(root ${CMAKE_BINARY_DIR}/include/${sub})
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root}/${sub})
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${sub}/*.h)
    foreach(header IN LISTS headers)
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${sub}/${name} SYMBOLIC)
    endforeach()
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# tavecron_library(<sub> [WIN32] [EXCLUDE regex] [PUBLIC items...] [PRIVATE items...])
# The static library tavecron_<sub> from the top-level sources of the folder
# <sub> (the portable core), or with WIN32 tavecron_<sub>_win32 from <sub>/win32
# (the binding, linked PUBLIC to its core). EXCLUDE drops sources whose path
# matches. PUBLIC and PRIVATE are passed to target_link_libraries; a
# subsystem library among them must be of a lower layer, or the core of the
# same subsystem for a binding.
function(tavecron_library sub)
  cmake_parse_arguments(L "WIN32" "EXCLUDE" "PUBLIC;PRIVATE" ${ARGN})
  list(FIND TAVECRON_SUBSYSTEMS ${sub} layer)
  if(layer LESS 0)
    message(FATAL_ERROR "tavecron_library: ${sub} is not a subsystem")
  endif()
  if(L_WIN32)
    set(name tavecron_${sub}_win32)
  else()
    set(name tavecron_${sub})
  endif()
  foreach(item IN LISTS L_PUBLIC L_PRIVATE)
    if(item MATCHES "^tavecron_([a-z]+)(_win32)?$")
      list(FIND TAVECRON_SUBSYSTEMS ${CMAKE_MATCH_1} item_layer)
      if(NOT (item_layer LESS layer OR (L_WIN32 AND item STREQUAL "tavecron_${sub}")))
        string(JOIN " < " order ${TAVECRON_SUBSYSTEMS})
        message(FATAL_ERROR "${name} may not link ${item}: links go down the layers ${order} only")
      endif()
    endif()
  endforeach()

  if(L_WIN32)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${sub}/win32/*.cpp)
    list(PREPEND L_PUBLIC tavecron_${sub})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${sub}/*.cpp)
  endif()
  if(L_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${L_EXCLUDE}")
  endif()
  tavecron_include_root(root ${sub} "${L_WIN32}")
  if(NOT sources)
    # Headers only: an interface library passes its include root and links on.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${root})
    target_link_libraries(${name} INTERFACE ${L_PUBLIC})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  tavecron_options(${name})
endfunction()

function(tavecron_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
  # Texts in the sources are UTF-8; the program's texts are code page 932 bytes.
  target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  if(WIN32)
    target_compile_definitions(${target} PUBLIC
      WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0501 _WIN32_IE=0x0500 WINVER=0x0501)
  endif()
endfunction()

if(TAVECRON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# A GoogleTest executable from the given sources, registered with CTest.
# Under the cross build its tests are discovered and run through the Wine
# emulator at test time, never at build time.
function(tavecron_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_options(${name} PRIVATE -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP932)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 LABELS ${name})
endfunction()
