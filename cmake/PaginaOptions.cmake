# Warnings and target-specific flags shared by every library and program.
set(PAGINA_WARNINGS -Wall -Wextra -Wno-unused-parameter)
if(PAGINA_WINDOWS)
  list(APPEND PAGINA_WARNINGS -Wcast-function-type -Werror)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
add_compile_options(${PAGINA_WARNINGS})
