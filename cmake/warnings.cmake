# One warning set for every build; -Werror keeps every build warning-free.
function(qs_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wformat=2 -Wundef -Wnon-virtual-dtor
    -Woverloaded-virtual -Wimplicit-fallthrough -Wmissing-declarations -Werror)
endfunction()
