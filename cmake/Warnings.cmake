# One place for the warning set; every target links it, and warnings fail the build.
add_library(stratocue_warnings INTERFACE)
target_compile_options(stratocue_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor
  -Werror)
