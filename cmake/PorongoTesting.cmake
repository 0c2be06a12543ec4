# porongo_add_test(<name> SOURCES <files...> [LIBS <targets...>] [ENVIRONMENT <VAR=value...>])
#
# Builds one GoogleTest program and registers its cases with CTest, to run in a working
# directory of the program's own. Tests run headless: Qt on its offscreen platform and SDL
# on its dummy audio driver, unless ENVIRONMENT says otherwise. The gtest main comes first
# on the link line so that it, not the platform's own main() (which enters WinMain),
# becomes the program's entry point.
include_guard(GLOBAL)

function(porongo_add_test name)
  if(NOT PORONGO_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)

  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gtest ${arg_LIBS})

  set(workdir "${CMAKE_CURRENT_BINARY_DIR}/${name}.run")
  file(MAKE_DIRECTORY "${workdir}")

  set(env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ${arg_ENVIRONMENT})
  # The environment is set by running each test through `cmake -E env`: gtest_discover_tests
  # splits a list-valued ENVIRONMENT property, so only its first variable would be set.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${env}")
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
