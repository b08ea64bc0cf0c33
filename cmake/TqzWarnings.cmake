# Warnings are set per target; TQZ_WERROR turns them into errors (CI does).
function(tqz_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference)
  if(TQZ_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
