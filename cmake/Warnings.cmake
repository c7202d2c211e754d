# Warnings for every target of the project; QUOREX_WERROR turns them into errors (CI does).
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                    -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough)
if(QUOREX_WERROR)
  add_compile_options(-Werror)
endif()
