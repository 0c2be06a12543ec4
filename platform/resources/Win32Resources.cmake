# win32_add_resources(<target> <rc file> [DEPENDS <files>...] [INCLUDE_DIRS <dirs>...])
#
# Compiles a resource script with windres (the UTF-8 script read as code page 65001) and
# gives its resources to <target>. Relative paths are taken from the calling directory.
# Headers and the files that the script names are looked for beside the script, then in the
# INCLUDE_DIRS (for instance where the build generates them). The resources are compiled
# again when the script, a header beside it or one of the DEPENDS files (icons and bitmaps
# the script names) changes. A program carries at most one resource script. When <target>
# is a static library, programs that link it get its resources.
#
# On Windows the script goes through CMake's RC language into an object file that the
# linker places in the program's resource section.
#
# Elsewhere the script becomes a standard .res file (preprocessed by the host's cpp with the
# mingw-w64 resource headers on the include path) that is embedded in <target>, where
# platform/resources finds it. The .res file's path is the target's WIN32_RES_FILE property,
# and the target <target>_res builds it alone.
include_guard(GLOBAL)

if(WIN32)
  function(win32_add_resources target rc)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "DEPENDS;INCLUDE_DIRS")
    if(arg_UNPARSED_ARGUMENTS)
      message(FATAL_ERROR "win32_add_resources: unexpected arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    cmake_path(ABSOLUTE_PATH rc BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" OUTPUT_VARIABLE rc_path)
    cmake_path(GET rc_path PARENT_PATH rc_dir)

    # windres runs in the build folder: the script's own folder goes on the include path,
    # where it also finds the files that the script names. CMake passes windres neither the
    # target's compile options nor a dependency file: the code page goes with the script,
    # and the headers beside the script stand for those it includes.
    add_library(${target}_rc OBJECT "${rc_path}")
    target_include_directories(${target}_rc PRIVATE "${rc_dir}" ${arg_INCLUDE_DIRS})
    file(GLOB depends "${rc_dir}/*.h")
    foreach(file IN LISTS arg_DEPENDS)
      cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
      list(APPEND depends "${file}")
    endforeach()
    set_source_files_properties("${rc_path}" PROPERTIES COMPILE_OPTIONS --codepage=65001 OBJECT_DEPENDS "${depends}")

    # An object file that holds only resources defines no symbol, so the linker never takes
    # it from an archive: a static library holds it, and programs that link the library
    # take the object itself.
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      target_sources(${target} PRIVATE "$<TARGET_OBJECTS:${target}_rc>")
      set_target_properties(${target} PROPERTIES LINKER_LANGUAGE CXX)  # not the RC objects'
      target_link_libraries(${target} INTERFACE "$<TARGET_OBJECTS:${target}_rc>")
    else()
      target_link_libraries(${target} PRIVATE ${target}_rc)
    endif()
  endfunction()
  return()
endif()

find_program(WIN32_WINDRES NAMES x86_64-w64-mingw32-windres
             DOC "windres from binutils-mingw-w64-x86-64")
find_program(WIN32_RC_CPP NAMES cpp DOC "C preprocessor for resource scripts")
find_path(WIN32_RC_INCLUDE_DIR winresrc.h
          PATHS /usr/share/mingw-w64/include /usr/x86_64-w64-mingw32/include
          NO_DEFAULT_PATH DOC "mingw-w64 headers with winresrc.h")

function(win32_add_resources target rc)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "DEPENDS;INCLUDE_DIRS")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "win32_add_resources: unexpected arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  foreach(tool WIN32_WINDRES WIN32_RC_CPP WIN32_RC_INCLUDE_DIR)
    if(NOT ${tool})
      message(FATAL_ERROR "win32_add_resources: ${tool} not found; install binutils-mingw-w64-x86-64, "
                          "mingw-w64-common and cpp (scripts/install-packages.sh build)")
    endif()
  endforeach()

  cmake_path(ABSOLUTE_PATH rc BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" OUTPUT_VARIABLE rc_path)
  cmake_path(GET rc_path PARENT_PATH rc_dir)
  cmake_path(GET rc_path STEM rc_stem)
  set(depends "${rc_path}")
  foreach(file IN LISTS arg_DEPENDS)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND depends "${file}")
  endforeach()
  set(include_args "-I${rc_dir}")
  foreach(dir IN LISTS arg_INCLUDE_DIRS)
    cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND include_args "-I${dir}")
  endforeach()
  list(APPEND include_args "-I${WIN32_RC_INCLUDE_DIR}")

  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources")
  set(res "${out_dir}/${rc_stem}.res")
  set(depfile "${out_dir}/${rc_stem}.res.d")
  file(MAKE_DIRECTORY "${out_dir}")

  # windres hands the preprocessor its arguments through a shell command line, one
  # --preprocessor-arg each. Files that the script names (ICON "x.ico") are read relative to
  # the working directory, the script's own folder.
  add_custom_command(
    OUTPUT "${res}"
    COMMAND "${WIN32_WINDRES}" -c 65001 -O res
            "--preprocessor=${WIN32_RC_CPP}"
            --preprocessor-arg=-E --preprocessor-arg=-xc
            --preprocessor-arg=-DRC_INVOKED --preprocessor-arg=-D_WIN32
            --preprocessor-arg=-MD "--preprocessor-arg=-MF${depfile}" "--preprocessor-arg=-MT${res}"
            ${include_args}
            "${rc_path}" "${res}"
    DEPENDS ${depends}
    DEPFILE "${depfile}"
    WORKING_DIRECTORY "${rc_dir}"
    COMMENT "Compiling resource script ${rc}"
    VERBATIM)

  # Lets other directories depend on the .res file alone (a custom command's output is
  # visible only in its own directory).
  add_custom_target(${target}_res DEPENDS "${res}")

  set(embed "${out_dir}/${rc_stem}_res.S")
  set(WIN32_RES_FILE "${res}")
  configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_res.S.in" "${embed}" @ONLY)
  # The assembler does not report .incbin files as dependencies.
  set_source_files_properties("${embed}" PROPERTIES OBJECT_DEPENDS "${res}")
  target_sources(${target} PRIVATE "${embed}")
  set_target_properties(${target} PROPERTIES WIN32_RES_FILE "${res}")

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    # The platform refers to the resources only weakly, which does not pull an archive member
    # into a program; an undefined-symbol request does.
    target_link_options(${target} INTERFACE "LINKER:--undefined=win32_resources_begin")
  endif()
endfunction()
