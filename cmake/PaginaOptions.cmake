# Warnings and target-specific flags shared by every library and program.
option(PAGINA_SANITIZE "Build everything under AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(PAGINA_FUZZ "Build the libFuzzer targets with clang (sources must have escaped CP932 literals)" OFF)

set(PAGINA_WARNINGS -Wall -Wextra -Wno-unused-parameter)
if(PAGINA_WINDOWS)
  # -Wcast-function-type catches run-time fetched functions whose calling convention got lost,
  # a fault only the 32-bit product would show.
  list(APPEND PAGINA_WARNINGS -Wcast-function-type -Werror)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
add_compile_options(${PAGINA_WARNINGS})

if(PAGINA_SANITIZE)
  if(PAGINA_WINDOWS)
    message(FATAL_ERROR "PAGINA_SANITIZE is for native builds")
  endif()
  set(PAGINA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${PAGINA_SANITIZER_FLAGS})
  add_link_options(${PAGINA_SANITIZER_FLAGS})
endif()

if(PAGINA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PAGINA_FUZZ needs clang (libFuzzer)")
  endif()
  # Every object gets coverage so that libFuzzer sees into the libraries too; only the fuzz
  # executables link libFuzzer's main.
  set(PAGINA_SANITIZER_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${PAGINA_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
  enable_testing()
endif()
