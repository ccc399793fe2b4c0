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
  # clang counts the deepest stack a run reaches among its coverage, measured from where the
  # process's stack began, which moves from run to run: the same inputs then gave one feature
  # more or less, and the fuzzers' fixed runs went another way. Without it every build of a
  # commit runs the same.
  add_compile_options(-fno-sanitize-coverage=stack-depth)
  add_link_options(-fsanitize=address,undefined)
else()
  add_compile_options(-g -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The product itself is plain C++: no exceptions, no RTTI. Tests keep GoogleTest's defaults.
function(muralto_product_target target)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
endfunction()
