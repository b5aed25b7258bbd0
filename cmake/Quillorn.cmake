# Shared build helpers.

# The game's texts are written as UTF-8 in the source and must be Shift-JIS (code page 932)
# bytes in the program, so game sources are compiled with CP932 as the execution charset.
# The fuzzing build (clang, which lacks CP932) converts its copies of the sources instead.
include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_FLAGS "-fexec-charset=CP932")
check_cxx_source_compiles([=[
  static_assert(sizeof("あ") == 3, "one double-byte character and its NUL");
  int main() { return 0; }]=] QUILLORN_HAS_CP932)
unset(CMAKE_REQUIRED_FLAGS)
if(NOT QUILLORN_HAS_CP932 AND NOT QUILLORN_FUZZ)
  message(FATAL_ERROR "The C++ compiler cannot use -fexec-charset=CP932; "
                      "Quillorn needs it to store its Japanese texts as Shift-JIS.")
endif()

function(quillorn_game_source_options target)
  target_compile_options(${target} PRIVATE -fexec-charset=CP932)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
endfunction()

# quillorn_resource(TYPE NAME FILE [DEPENDS target...])
# Registers a file (usually written by a host tool at build time) as an embedded resource.
# Types and names are matched without regard to case at run time.
function(quillorn_resource type name file)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY QUILLORN_RESOURCE_LIST "${type}|${name}|${file}")
  set_property(GLOBAL APPEND PROPERTY QUILLORN_RESOURCE_FILES "${file}")
  if(ARG_DEPENDS)
    set_property(GLOBAL APPEND PROPERTY QUILLORN_RESOURCE_TARGETS ${ARG_DEPENDS})
  endif()
endfunction()

# Writes one assembler file that pulls every registered resource in with .incbin and a
# table that names them, and builds it into a static library.
function(quillorn_embed_resources libname)
  get_property(entries GLOBAL PROPERTY QUILLORN_RESOURCE_LIST)
  get_property(files GLOBAL PROPERTY QUILLORN_RESOURCE_FILES)
  get_property(targets GLOBAL PROPERTY QUILLORN_RESOURCE_TARGETS)
  set(out ${CMAKE_BINARY_DIR}/generated/embedded_resources.S)
  add_custom_command(
    OUTPUT ${out}
    COMMAND embed_resources ${out} ${entries}
    DEPENDS embed_resources ${files} ${targets}
    COMMENT "Embedding resources"
    VERBATIM)
  add_library(${libname} STATIC ${out})
  set_source_files_properties(${out} PROPERTIES OBJECT_DEPENDS "${files}")
endfunction()
