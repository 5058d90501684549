# Every target of the project gets the same warnings; CI turns them into errors.
function(calc_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(CALC_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
