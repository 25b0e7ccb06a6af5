# SPDX-License-Identifier: GPL-3.0-or-later
# One helper per kind of target, so that warnings, the standard, the include
# root and the test environment are not pasted into every CMakeLists.txt.
# Included by the main project and by the fuzz project.
include_guard(GLOBAL)

get_filename_component(DECREE_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# Warnings for the project's own code.
set(DECREE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

# decree_add_library(<name> <sources...>): a static library SalaryDecree::<name>
# whose headers are included by folder ("decree/DecreeInput.h").
function(decree_add_library Name)
  add_library(${Name} STATIC ${ARGN})
  add_library(SalaryDecree::${Name} ALIAS ${Name})
  target_include_directories(${Name} PUBLIC ${DECREE_SOURCE_ROOT})
  target_compile_features(${Name} PUBLIC cxx_std_17)
  target_compile_options(${Name} PRIVATE ${DECREE_WARNINGS})
endfunction()

# decree_add_executable(<name> <sources...>): a program of the project's own.
function(decree_add_executable Name)
  add_executable(${Name} ${ARGN})
  target_include_directories(${Name} PRIVATE ${DECREE_SOURCE_ROOT})
  target_compile_features(${Name} PRIVATE cxx_std_17)
  target_compile_options(${Name} PRIVATE ${DECREE_WARNINGS})
endfunction()

# decree_add_gtest(<name> <sources...> LIBRARIES <libs...> [TEST_FILTER <expr>]):
# a GoogleTest program whose tests CTest finds one by one (those TEST_FILTER,
# a --gtest_filter expression, selects).
function(decree_add_gtest Name)
  cmake_parse_arguments(PARSE_ARGV 1 Arg "" "TEST_FILTER" "LIBRARIES")
  decree_add_executable(${Name} ${Arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${Name} PRIVATE ${Arg_LIBRARIES} GTest::gtest_main)
  if(Arg_TEST_FILTER)
    set(Filter TEST_FILTER ${Arg_TEST_FILTER})
  endif()
  gtest_discover_tests(${Name} DISCOVERY_MODE PRE_TEST ${Filter})
endfunction()

# decree_add_qt_test(<name> <sources...> LIBRARIES <libs...> [TEST_NAME <n>]
#                    [LOCALE <l>] [ENVIRONMENT <k=v>...]): a QTest program run
# headless on the offscreen platform, under a fixed locale (C.UTF-8 unless
# given: Qt reads the name, the glibc locale need not be installed).
function(decree_add_qt_test Name)
  cmake_parse_arguments(PARSE_ARGV 1 Arg "" "TEST_NAME;LOCALE" "LIBRARIES;ENVIRONMENT")
  find_package(Qt6 REQUIRED COMPONENTS Test)
  decree_add_executable(${Name} ${Arg_UNPARSED_ARGUMENTS})
  set_target_properties(${Name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${Name} PRIVATE ${Arg_LIBRARIES} Qt6::Test)
  if(NOT Arg_TEST_NAME)
    set(Arg_TEST_NAME ${Name})
  endif()
  decree_add_qt_test_run(${Arg_TEST_NAME} ${Name} LOCALE "${Arg_LOCALE}" ENVIRONMENT ${Arg_ENVIRONMENT})
endfunction()

# decree_add_qt_test_run(<test name> <program> [LOCALE <l>] [ENVIRONMENT ...]):
# one more run of a QTest program, under other settings.
function(decree_add_qt_test_run TestName Program)
  cmake_parse_arguments(PARSE_ARGV 2 Arg "" "LOCALE" "ENVIRONMENT")
  if(NOT Arg_LOCALE)
    set(Arg_LOCALE C.UTF-8)
  endif()
  add_test(NAME ${TestName} COMMAND ${Program})
  set_tests_properties(${TestName} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=${Arg_LOCALE};LANG=${Arg_LOCALE};${Arg_ENVIRONMENT}"
    TIMEOUT 300)
endfunction()
