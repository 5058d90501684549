# SPDX-License-Identifier: GPL-3.0-or-later
# Every target of the project gets the same warnings; CI turns them into errors.
function(calc_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports std::string assignments of literals as overlapping copies when
    # optimising (GCC bug 105329); the warning says nothing about this code.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(CALC_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
