# One place for the warning set; every target links it. Warnings fail the build only where
# STRATOCUE_WERROR is on (the presets and CI), so a packager's compiler can warn freely.
add_library(stratocue_warnings INTERFACE)
target_compile_options(stratocue_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor
  $<$<BOOL:${STRATOCUE_WERROR}>:-Werror>)
