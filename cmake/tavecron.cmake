# Shared build rules: compile options, source discovery and test registration.

set(TAVECRON_SUBSYSTEMS schedule commands table app)

# Collects the sources matching PATTERN (relative to each subsystem folder).
function(tavecron_glob_sources out pattern)
  set(result)
  foreach(sub IN LISTS TAVECRON_SUBSYSTEMS)
    file(GLOB found CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${sub}/${pattern}")
    list(APPEND result ${found})
  endforeach()
  list(SORT result)
  set(${out} ${result} PARENT_SCOPE)
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
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP932)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 LABELS ${name})
endfunction()
