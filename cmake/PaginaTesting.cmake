# Test helpers. GoogleTest is built from Debian's sources for every target, so the same test
# sources run natively and, cross-built, under Wine (through CMAKE_CROSSCOMPILING_EMULATOR).
option(PAGINA_TESTS "Build the tests" ON)
if(PAGINA_TESTS)
  enable_testing()
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
endif()

# Windows tests share one Wine prefix per build folder. The fixture creates it (and, without a
# screen, one Xvfb for the whole run) before the first test and stops both after the last one, so
# no test pays for the prefix creation or leaves a server behind.
set(PAGINA_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(PAGINA_TESTS AND PAGINA_WINDOWS)
  add_test(NAME wine_prefix_start COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix start ${PAGINA_WINEPREFIX})
  add_test(NAME wine_prefix_stop COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix stop ${PAGINA_WINEPREFIX})
  set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 900 LABELS wine)
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120 LABELS wine)
endif()

# Marks tests as Windows tests: they run after the prefix fixture and inside that prefix.
function(pagina_wine_test_properties)
  if(PAGINA_WINDOWS)
    foreach(t ${ARGN})
      set_property(TEST ${t} APPEND PROPERTY FIXTURES_REQUIRED wine)
      set_property(TEST ${t} APPEND PROPERTY ENVIRONMENT "WINEPREFIX=${PAGINA_WINEPREFIX}")
    endforeach()
  endif()
endfunction()

# pagina_test(NAME <name> SOURCES <files...> LIBS <libs...> [NATIVE_ONLY] [WINDOWS_ONLY] [LABELS <labels...>] [TIMEOUT <s>])
function(pagina_test)
  cmake_parse_arguments(T "NATIVE_ONLY;WINDOWS_ONLY" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT PAGINA_TESTS)
    return()
  endif()
  if(T_NATIVE_ONLY AND PAGINA_WINDOWS)
    return()
  endif()
  if(T_WINDOWS_ONLY AND NOT PAGINA_WINDOWS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gmock gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}"
                       ENVIRONMENT "PAGINA_SOURCE_DIR=${PROJECT_SOURCE_DIR};PAGINA_BINARY_DIR=${PROJECT_BINARY_DIR}")
  pagina_wine_test_properties(${T_NAME})
endfunction()

# pagina_e2e_test(NAME <name> SCRIPT <script.py> [ARGS <args...>] [ENV <VAR=value...>] [TIMEOUT <s>]
#                 [LABELS <labels...>])
# An end-to-end test: a Python script (tests/e2e/harness) drives real programs under Wine and Xvfb.
# Windows builds only; the tests run one at a time because they share the screen.
function(pagina_e2e_test)
  cmake_parse_arguments(E "" "NAME;SCRIPT;TIMEOUT" "ARGS;ENV;LABELS" ${ARGN})
  if(NOT PAGINA_TESTS OR NOT PAGINA_WINDOWS)
    return()
  endif()
  if(NOT E_TIMEOUT)
    set(E_TIMEOUT 600)
  endif()
  get_filename_component(script ${E_SCRIPT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  add_test(NAME ${E_NAME} COMMAND ${Python3_EXECUTABLE} ${script} ${E_ARGS})
  set(env
      "PAGINA_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      "PAGINA_BINARY_DIR=${PROJECT_BINARY_DIR}"
      "PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/e2e/harness"
      "PYTHONDONTWRITEBYTECODE=1"
      ${E_ENV})
  if(TARGET windriver)
    list(APPEND env "PAGINA_WINDRIVER=$<TARGET_FILE:windriver>")
  endif()
  set_tests_properties(${E_NAME} PROPERTIES TIMEOUT ${E_TIMEOUT} RUN_SERIAL TRUE
                       LABELS "e2e;${E_LABELS}" ENVIRONMENT "${env}")
  pagina_wine_test_properties(${E_NAME})
endfunction()
