# Warnings are errors everywhere; sanitizer and fuzzer builds add their
# instrumentation to every target so that libraries and tests agree.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)

if(ZET_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ZET_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Shared libraries bind their own calls to their own definitions: zetmalloc,
# zetfree and ZetTimerRead exist in both libraries with different allocators.
set(ZET_SHARED_LINK_OPTIONS -Wl,-Bsymbolic-functions -Wl,--exclude-libs,ALL)
# clang keeps its sanitizer runtime in the executables, so the fuzz build's
# shared libraries are left with sanitizer symbols to resolve at load time.
if(NOT ZET_BUILD_FUZZ)
  list(APPEND ZET_SHARED_LINK_OPTIONS -Wl,--no-undefined)
endif()
