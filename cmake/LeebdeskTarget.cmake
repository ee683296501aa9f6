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

# Sanitizer builds and programs run under an emulator take several times as long as the plain
# build: the tests' time-outs grow with them.
if(LEEBDESK_ASAN OR LEEBDESK_TSAN OR CMAKE_CROSSCOMPILING)
  set(LEEBDESK_TEST_TIMEOUT_SCALE 4)
else()
  set(LEEBDESK_TEST_TIMEOUT_SCALE 1)
endif()

# Writes into `file` what gives the labels after `cases` to the cases CTest lists in the
# variable `cases` once it has read the discovered ones: a list of labels does not pass whole
# through the discovery's properties.
function(leebdesk_label_cases file cases)
  file(APPEND ${file} "if(${cases})\n"
                      "  set_tests_properties(\${${cases}} PROPERTIES LABELS \"${ARGN}\")\n"
                      "endif()\n")
endfunction()

# A GoogleTest program: links the libraries it exercises (never the application) and registers
# its cases with CTest. Tests that create a QApplication link leebdesk_qt_test_main, which
# forces the offscreen platform when no display is set, so discovery at build time works too.
#
# Every case gets one label for what it needs, so `ctest -L unit` runs the quick part alone:
# `unit` (the build only), `gui` (QT programs: a QApplication on the offscreen platform) or
# `server` (the cases SERVER_CASES, a GoogleTest filter, picks: they need a PostgreSQL server);
# THREAD programs add `thread`. TIMEOUT is the seconds a case may take in the plain build
# before CTest stops it (60 unless given).
function(leebdesk_add_test name)
  cmake_parse_arguments(ARG "QT;THREAD" "RESOURCE_LOCK;SERVER_CASES;TIMEOUT" "SOURCES;LIBS" ${ARGN})
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
  set(kind unit)
  if(ARG_QT)
    set(kind gui)
  endif()
  # THREAD marks programs that exercise threads: the ThreadSanitizer build runs just these.
  set(extra_labels)
  if(ARG_THREAD)
    set(extra_labels thread)
    add_dependencies(leebdesk_thread_tests ${name})
  endif()
  set(labels ${kind} ${extra_labels})
  set(timeout 60)
  if(ARG_TIMEOUT)
    set(timeout ${ARG_TIMEOUT})
  endif()
  math(EXPR timeout "${timeout} * ${LEEBDESK_TEST_TIMEOUT_SCALE}")
  # RESOURCE_LOCK names what the cases share (the test PostgreSQL's database): CTest then runs
  # them one at a time, not side by side under -j.
  set(lock)
  if(ARG_RESOURCE_LOCK)
    set(lock RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  if(CMAKE_CROSSCOMPILING)
    # One CTest test per program: listing the cases would start every program once more under
    # the emulator at build time. It runs every case, so it may take as long as all of them.
    if(ARG_SERVER_CASES STREQUAL "*")
      set(labels server ${extra_labels})
    endif()
    add_test(NAME ${name} COMMAND ${name})
    math(EXPR program_timeout "${timeout} * 10")
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT ${program_timeout} ${lock})
    return()
  endif()
  set(properties ENVIRONMENT "QT_QPA_PLATFORM=${LEEBDESK_TEST_PLATFORM}" TIMEOUT ${timeout} ${lock})
  set(labels_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
  file(WRITE ${labels_file} "")
  if(ARG_SERVER_CASES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "${ARG_SERVER_CASES}"
                         TEST_LIST ${name}_server_cases PROPERTIES ${properties})
    leebdesk_label_cases(${labels_file} ${name}_server_cases server ${extra_labels})
  endif()
  if(NOT ARG_SERVER_CASES STREQUAL "*")
    set(filter)
    if(ARG_SERVER_CASES)
      set(filter TEST_FILTER "-${ARG_SERVER_CASES}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${filter}
                         TEST_LIST ${name}_cases PROPERTIES ${properties})
    leebdesk_label_cases(${labels_file} ${name}_cases ${labels})
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_file})
endfunction()

