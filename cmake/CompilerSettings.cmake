# Warnings are errors everywhere; sanitizers only where the preset asks for them.
add_library(lumistra_warnings INTERFACE)
target_compile_options(lumistra_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)

add_library(lumistra_sanitizers INTERFACE)
if(LUMISTRA_SANITIZE)
  target_compile_options(lumistra_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(lumistra_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
