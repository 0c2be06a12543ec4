# porongo_add_test(<name> SOURCES <files...> [LIBS <targets...>] [ENVIRONMENT <VAR=value...>])
#
# Builds one GoogleTest program and registers its cases with CTest, to run in a working
# directory of the program's own. Tests run headless: Qt on its offscreen platform and SDL
# on its dummy audio driver, unless ENVIRONMENT says otherwise. The gtest main comes first
# on the link line so that it, not the platform's own main() (which enters WinMain),
# becomes the program's entry point.
#
# Cross-built for Windows, the test is a Windows program that runs under Wine (the
# toolchain's emulator) in a Japanese prefix of the build's own, set up by
# scripts/wine-prefix.sh, headless through Wine's null graphics driver. GoogleTest is then
# built from Debian's sources (PORONGO_GTEST_SOURCE_DIR): no mingw-w64 build of it is
# packaged.
include_guard(GLOBAL)

# The GoogleTest targets, GTest::gtest and GTest::gtest_main: Debian's package natively,
# built from its sources for a cross build.
macro(porongo_find_gtest)
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(GTest REQUIRED)
  elseif(NOT TARGET GTest::gtest)
    set(PORONGO_GTEST_SOURCE_DIR /usr/src/googletest/googletest CACHE PATH "GoogleTest's sources (Debian's googletest)")
    if(NOT EXISTS "${PORONGO_GTEST_SOURCE_DIR}/CMakeLists.txt")
      message(FATAL_ERROR "GoogleTest's sources are not in ${PORONGO_GTEST_SOURCE_DIR}: install googletest "
                          "(scripts/install-packages.sh windows)")
    endif()
    set(INSTALL_GTEST OFF)
    add_subdirectory("${PORONGO_GTEST_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
  endif()
endmacro()

# How the tests' programs run when they are cross-built: under Wine, in the build's prefix.
if(CMAKE_CROSSCOMPILING AND PORONGO_BUILD_TESTS)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(FATAL_ERROR "The tests of a cross build run under Wine, which was not found: install wine64 "
                        "(scripts/install-packages.sh windows) or configure with -DPORONGO_BUILD_TESTS=OFF")
  endif()
  set(wine_folder "${PROJECT_BINARY_DIR}/wine-tests")
  set(wine_prefix_script "${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh")
  set(PORONGO_WINE_RUN bash "${wine_prefix_script}" --offscreen "${wine_folder}" ${CMAKE_CROSSCOMPILING_EMULATOR})
  # The prefix is made when the tests are built (wineboot takes a while), not when CTest
  # first lists a program's cases.
  add_custom_command(OUTPUT "${wine_folder}/ready"
    COMMAND bash "${wine_prefix_script}" --offscreen "${wine_folder}"
    COMMENT "Setting up the Wine prefix in ${wine_folder}")
  add_custom_target(porongo_wine_prefix DEPENDS "${wine_folder}/ready")
endif()

function(porongo_add_test name)
  if(NOT PORONGO_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  porongo_find_gtest()
  include(GoogleTest)

  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gtest ${arg_LIBS})
  if(CMAKE_CROSSCOMPILING)
    add_dependencies(${name} porongo_wine_prefix)
  endif()

  set(workdir "${CMAKE_CURRENT_BINARY_DIR}/${name}.run")
  file(MAKE_DIRECTORY "${workdir}")

  set(env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ${arg_ENVIRONMENT})
  # The environment is set by running each test through `cmake -E env`: gtest_discover_tests
  # splits a list-valued ENVIRONMENT property, so only its first variable would be set.
  set(run "${CMAKE_COMMAND};-E;env;${env}")
  if(CMAKE_CROSSCOMPILING)
    list(APPEND run ${PORONGO_WINE_RUN})
  endif()
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${run}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY "${workdir}"
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()

# porongo_add_fuzzer(<name> SOURCES <files...>)
#
# Builds one libFuzzer program, with AddressSanitizer and UndefinedBehaviorSanitizer, from
# its sources and the platform sources it fuzzes (compiled into it, not linked from `win32`).
# Fuzzers are built only with -DPORONGO_BUILD_FUZZERS=ON, and only clang can build them.
# clang knows no execution character set but UTF-8, so the option is dropped here: the code
# a fuzzer is built from must hold no literal that depends on it (write such bytes as escapes).
function(porongo_add_fuzzer name)
  cmake_parse_arguments(arg "" "" "SOURCES" ${ARGN})
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "PORONGO_BUILD_FUZZERS needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_executable(${name} ${arg_SOURCES})
  get_target_property(options ${name} COMPILE_OPTIONS)
  list(REMOVE_ITEM options ${PORONGO_EXEC_CHARSET})
  set_target_properties(${name} PROPERTIES COMPILE_OPTIONS "${options}")
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}")
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()
