# One place for the warning set; every target links it. Warnings fail the build only where
# STRATOCUE_WERROR is on (the presets and CI), so a packager's compiler can warn freely.
#
# GCC 12 at -O3 (Release) reports false -Wrestrict overlaps inside std::string's own copies
# wherever a string is built from a short literal (GCC bug 105651, fixed in GCC 13), and
# false -Wmaybe-uninitialized for strings inside tables of test rows; the two checks are
# left out for that compiler in that build only (the presets keep them).
set(stratocue_gcc12_release
    "$<AND:$<CONFIG:Release>,$<CXX_COMPILER_ID:GNU>,$<VERSION_GREATER_EQUAL:$<CXX_COMPILER_VERSION>,12>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>")
add_library(stratocue_warnings INTERFACE)
target_compile_options(stratocue_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor
  $<$<BOOL:${STRATOCUE_WERROR}>:-Werror>
  "$<${stratocue_gcc12_release}:-Wno-restrict;-Wno-maybe-uninitialized>")
