# Per-target build settings: warnings and sanitizers are applied to every target of the
# project through this function, never through global flags.
function(leebdesk_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(LEEBDESK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # Debian's hardening for what the package ships: checked string and memory functions (they
  # need the optimiser, so optimised builds only) and a read-only relocation table resolved at
  # start. Sanitizer builds bring their own checks.
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT LEEBDESK_ASAN AND NOT LEEBDESK_TSAN)
    target_compile_options(${target} PRIVATE
      $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>)
    target_link_options(${target} PRIVATE LINKER:-z,relro,-z,now)
  endif()
  if(LEEBDESK_ASAN)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(LEEBDESK_TSAN)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
endfunction()

# A GoogleTest program: links the libraries it exercises (never the application) and registers
# its cases with CTest. Tests that create a QApplication link leebdesk_qt_test_main, which
# forces the offscreen platform when no display is set, so discovery at build time works too.
function(leebdesk_add_test name)
  cmake_parse_arguments(ARG "QT;THREAD" "RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  if(ARG_QT AND NOT LEEBDESK_QT)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  leebdesk_target_options(${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/testsupport)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} leebdesk_qt_test_main GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # THREAD marks programs that exercise threads: the ThreadSanitizer build runs just these.
  set(labels unit)
  if(ARG_THREAD)
    set(labels thread)
    add_dependencies(leebdesk_thread_tests ${name})
  endif()
  # RESOURCE_LOCK names what the cases share (the test PostgreSQL's database): CTest then runs
  # them one at a time, not side by side under -j.
  set(lock)
  if(ARG_RESOURCE_LOCK)
    set(lock RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  if(CMAKE_CROSSCOMPILING)
    # One CTest test per program: listing the cases would start every program once more under
    # the emulator at build time.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=${LEEBDESK_TEST_PLATFORM}"
                                    LABELS ${labels} ${lock})
  endif()
endfunction()
