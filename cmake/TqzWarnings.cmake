# Warnings are set per target; TQZ_WERROR turns them into errors (CI does).
function(tqz_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference)
  # GCC 12 at -O2/-O3 reports a false -Wrestrict inside std::string for "text" + std::string
  # (GCC bug 105651), which every message of ours is built from.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(TQZ_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
