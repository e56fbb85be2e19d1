# Strict warnings everywhere; the Windows tree links its runtime statically so the
# program runs on a machine without MinGW DLLs.
function(ostrel_compile_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
  if(OSTREL_WINDOWS)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
      _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
  if(OSTREL_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(OSTREL_TSAN)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
endfunction()

if(OSTREL_WINDOWS)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
