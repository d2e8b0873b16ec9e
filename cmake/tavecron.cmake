# Shared build rules: the layers' libraries and the checks of the rule between
# them, compile options and test registration.

# The layers (TAVECRON_LAYERS) and the rule between them.
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

# The include check: cmake/check_layers.cmake over every header and source of
# the layers and their tests, before any library compiles. It runs again when
# any of those files changes, is added or goes.
set(layer_files)
foreach(layer IN LISTS TAVECRON_LAYERS)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/${layer}/*.h ${CMAKE_SOURCE_DIR}/${layer}/*.cpp ${CMAKE_SOURCE_DIR}/${layer}/*.rc
    ${CMAKE_SOURCE_DIR}/tests/${layer}/*.h ${CMAKE_SOURCE_DIR}/tests/${layer}/*.cpp)
  list(APPEND layer_files ${files})
endforeach()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/layers.checked
  COMMAND ${CMAKE_COMMAND} -D SOURCE_DIR=${CMAKE_SOURCE_DIR} -D STAMP=${CMAKE_BINARY_DIR}/layers.checked
          -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
  DEPENDS ${layer_files} ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake ${CMAKE_SOURCE_DIR}/cmake/layers.cmake
  COMMENT "Checking includes against the layers (cmake/layers.cmake)"
  VERBATIM)
add_custom_target(tavecron_layers ALL DEPENDS ${CMAKE_BINARY_DIR}/layers.checked)

# The .cpp files under the folder <folder>, as paths from the source root: with
# win32 false those outside win32/ folders, with win32 true those inside.
function(tavecron_sources out folder win32)
  file(GLOB_RECURSE found RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  if(win32)
    list(FILTER found INCLUDE REGEX "(^|/)win32/")
  else()
    list(FILTER found EXCLUDE REGEX "(^|/)win32/")
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# tavecron_library(<sub> [WIN32] [EXCLUDE regex] [PUBLIC items...] [PRIVATE items...])
# The static library tavecron_<sub> from the sources of the layer's folder
# <sub> outside win32/ folders (the portable core), or with WIN32
# tavecron_<sub>_win32 from those inside them (the binding, linked PUBLIC to
# its core); an interface library while there are none. Its include directory
# is the source root. EXCLUDE drops sources whose path from the source root
# matches. PUBLIC and PRIVATE are passed
# to target_link_libraries; a layer's library among them must be of a lower
# layer, or the core of the same layer for a binding.
function(tavecron_library sub)
  cmake_parse_arguments(L "WIN32" "EXCLUDE" "PUBLIC;PRIVATE" ${ARGN})
  list(FIND TAVECRON_LAYERS ${sub} layer)
  if(layer LESS 0)
    message(FATAL_ERROR "tavecron_library: ${sub} is not a layer of cmake/layers.cmake")
  endif()
  if(L_WIN32)
    set(name tavecron_${sub}_win32)
  else()
    set(name tavecron_${sub})
  endif()
  foreach(item IN LISTS L_PUBLIC L_PRIVATE)
    if(item MATCHES "^tavecron_([a-z]+)(_win32)?$")
      list(FIND TAVECRON_LAYERS ${CMAKE_MATCH_1} item_layer)
      if(NOT (item_layer LESS layer OR (L_WIN32 AND item STREQUAL "tavecron_${sub}")))
        string(JOIN " < " order ${TAVECRON_LAYERS})
        message(FATAL_ERROR "${name} may not link ${item}: links go down the layers ${order} only")
      endif()
    endif()
  endforeach()

  tavecron_sources(sources ${sub} "${L_WIN32}")
  if(L_WIN32)
    list(PREPEND L_PUBLIC tavecron_${sub})
  endif()
  if(L_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${L_EXCLUDE}")
  endif()
  list(TRANSFORM sources PREPEND ${CMAKE_SOURCE_DIR}/)
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_PUBLIC})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  add_dependencies(${name} tavecron_layers)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  tavecron_options(${name})
  if(NOT L_WIN32)
    target_compile_options(${name} PRIVATE -Wconversion -Wno-sign-conversion)
  endif()
endfunction()

# -Wshadow everywhere; -Wconversion (an implicit narrowing of a value) on the
# portable core, without -Wsign-conversion, which clang's -Wconversion adds and
# which flags every int index into an array the code has bounded already.
function(tavecron_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
  # Three execution character sets, on purpose. The sources are UTF-8 and the
  # program's texts are code page 932 bytes, so g++ and mingw turn every string
  # into CP932 here; the checker's message table is UTF-8 in the native build,
  # for a UTF-8 terminal (its source's own property, CMakeLists.txt); clang,
  # which the fuzz build uses, has no code page 932 and keeps the UTF-8 bytes as
  # written, which is why scripts/fuzz.sh refuses a core source with non-ASCII
  # text in code.
  if(TAVECRON_FUZZ)
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8)
    # Coverage instrumentation for libFuzzer, in the layers' libraries only.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  else()
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  endif()
  # A release records no folder of the build (built from another folder, it is
  # the same bytes); the other builds keep whole paths for the debugger.
  target_compile_options(${target} PRIVATE
    $<$<CONFIG:Release,MinSizeRel>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)
  if(WIN32)
    target_compile_definitions(${target} PUBLIC
      WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0501 _WIN32_IE=0x0500 WINVER=0x0501)
  endif()
endfunction()

# The PE linker writes the clock into each program's header unless told to
# write 0: without it the same sources never link to the same bytes twice.
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

if(TAVECRON_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TAVECRON_FUZZ needs clang (libFuzzer): -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-g -O1 -fsanitize=address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TAVECRON_COVERAGE)
  # Unoptimised, so that every branch of the source is a branch of the object;
  # each object writes its .gcda counts beside itself when a program exits.
  add_compile_options(--coverage -O0)
  add_link_options(--coverage)
endif()
if(TAVECRON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# A GoogleTest executable from the given sources, registered with CTest under
# the label LABELS, or its own name.
# Under the cross build its tests are discovered and run through the Wine
# emulator at test time, never at build time. PROPERTIES are added to each
# of its tests (a RESOURCE_LOCK, say).
function(tavecron_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
  if(NOT T_SOURCES)
    return()
  endif()
  if(NOT T_LABELS)
    set(T_LABELS ${name})
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_options(${name} PRIVATE -Wall -Wextra -Wshadow -finput-charset=UTF-8 -fexec-charset=CP932)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 LABELS ${T_LABELS} ${T_PROPERTIES})
endfunction()
