# The Windows build (preset "windows", cross-built with mingw-w64): what it takes from the
# build machine, and what it leaves out because Qt, libcurl and cpp-httplib do not exist
# for it.

# The oldest Windows the programs run on is Windows 7 SP1 (6.1): with these the headers
# declare nothing newer, so our own code cannot call what it lacks. scripts/test-windows
# checks the imports of the built programs, which include the runtime's.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601)
# The executables' headers name the same minimum, as Windows' own programs do.
add_link_options(-Wl,--major-os-version,6,--minor-os-version,1,--major-subsystem-version,6,--minor-subsystem-version,1)

# The program's resources (icon, version, manifest) are compiled by mingw-w64's windres.
enable_language(RC)

# Subsystems and test suites that need Qt, libcurl, cpp-httplib or POSIX; the top-level
# CMakeLists and tests/CMakeLists skip these names.
set(STRATOCUE_NOT_ON_WINDOWS
  ui/qt tools      # subsystems
  e2e layering)  # test suites (tests/ mirrors the folders above)

# nlohmann-json is header-only: Debian's headers serve the cross build as they are, seen
# through a folder of their own so that no other header of the build machine is in sight.
set(STRATOCUE_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${STRATOCUE_HOST_HEADERS})
file(CREATE_LINK /usr/include/nlohmann ${STRATOCUE_HOST_HEADERS}/nlohmann SYMBOLIC)
add_library(stratocue_host_nlohmann_json INTERFACE)
target_include_directories(stratocue_host_nlohmann_json SYSTEM INTERFACE ${STRATOCUE_HOST_HEADERS})
add_library(nlohmann_json::nlohmann_json ALIAS stratocue_host_nlohmann_json)

# GoogleTest built from Debian's sources (package googletest) with the cross compiler; it
# gives GTest::gtest and GTest::gtest_main like find_package(GTest) does.
if(STRATOCUE_BUILD_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "GoogleTest: no gmock in the Windows build" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "GoogleTest: nothing to install" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
