# Warning, sanitizer and runtime settings shared by every target of a build tree.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

add_compile_options(-Wall -Wextra -Werror)

if(WIN32)
  # Muralto.exe and the two DLLs must run on a clean Windows: no runtime DLLs of the compiler.
  add_link_options(-static)
  add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0501)
elseif(MURALTO_FUZZ)
  add_compile_options(-g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
else()
  add_compile_options(-g -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The product itself is plain C++: no exceptions, no RTTI. Tests keep GoogleTest's defaults.
function(muralto_product_target target)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
endfunction()
