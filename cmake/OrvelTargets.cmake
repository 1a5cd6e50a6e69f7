# Build rules shared by the program, the tests and the benchmarks.
#
# The product is three static libraries in layers, each compiled against an include root that
# holds only the folders it may see, so that an include going the wrong way does not compile:
#
#   orvel_framework  framework/               sees framework/
#   orvel_common     common/                  sees framework/ and common/
#   orvel_core       the subsystem folders    sees every folder
#
# The subsystems call each other in both directions (the application records hold the lists,
# the lists read the records), which a chain of static libraries cannot express: they stay one
# library over the two layers below. Every header of the two lower layers is also compiled on
# its own against its layer's root, so that a header no .cpp of the layer includes is held to
# the same rule. Tests and benchmarks link orvel_core and see every folder.

set(ORVEL_SUBSYSTEMS common framework fonts app lists groups viewing search printing launcher)
set(ORVEL_LAYER_FRAMEWORK framework)
set(ORVEL_LAYER_COMMON framework common)

set(ORVEL_SYSTEM_LIBS
  comctl32 gdi32 gdiplus shlwapi shell32 ole32 oleaut32 uuid advapi32 version
  comdlg32 winspool msimg32 uxtheme user32 kernel32)

# orvel_target_options(target [include root]): the compile and link options of every target;
# the include root defaults to the source tree.
function(orvel_target_options target)
  set(root ${CMAKE_SOURCE_DIR})
  if(ARGC GREATER 1)
    set(root ${ARGV1})
  endif()
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0A00 WINVER=0x0A00
                             NOMINMAX STRICT)
  target_compile_options(${target} PRIVATE -municode -Wall -Wextra -Wno-unused-parameter
                         -Wno-missing-field-initializers -Wno-cast-function-type)
  target_include_directories(${target} PRIVATE ${root})
  target_link_options(${target} PRIVATE -municode -static -static-libgcc -static-libstdc++)
endfunction()

# The include root of a layer: a folder of the build tree holding a link to each source folder
# the layer may see, and nothing else. Its path goes into `out`.
function(orvel_include_root name out)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${name})
  file(MAKE_DIRECTORY ${root})
  foreach(dir ${ARGN})
    set(link ${root}/${dir})
    if(IS_SYMLINK ${link})
      file(READ_SYMLINK ${link} target)
      if(NOT target STREQUAL ${CMAKE_SOURCE_DIR}/${dir})
        file(REMOVE ${link})
      endif()
    endif()
    if(NOT IS_SYMLINK ${link})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${dir} ${link} SYMBOLIC)
    endif()
  endforeach()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# One layer: the static library of its folder, built against its include root, and an object
# library that compiles each of its headers alone against the same root.
function(orvel_add_layer target folder root)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  add_library(${target} STATIC ${sources})
  orvel_target_options(${target} ${root})

  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  set(checks)
  foreach(header ${headers})
    string(MAKE_C_IDENTIFIER ${header} name)
    set(check ${CMAKE_BINARY_DIR}/header-checks/${name}.cpp)
    file(CONFIGURE OUTPUT ${check} CONTENT "#include \"${header}\"\n" @ONLY)
    list(APPEND checks ${check})
  endforeach()
  add_library(${target}_headers OBJECT ${checks})
  orvel_target_options(${target}_headers ${root})
endfunction()

function(orvel_add_core)
  orvel_include_root(framework framework_root ${ORVEL_LAYER_FRAMEWORK})
  orvel_include_root(common common_root ${ORVEL_LAYER_COMMON})
  set(ORVEL_FRAMEWORK_ROOT ${framework_root} PARENT_SCOPE)
  set(ORVEL_COMMON_ROOT ${common_root} PARENT_SCOPE)

  orvel_add_layer(orvel_framework framework ${framework_root})
  target_link_libraries(orvel_framework PUBLIC ${ORVEL_SYSTEM_LIBS})
  orvel_add_layer(orvel_common common ${common_root})
  target_link_libraries(orvel_common PUBLIC orvel_framework)

  set(sources)
  foreach(dir ${ORVEL_SUBSYSTEMS})
    if(dir STREQUAL "framework" OR dir STREQUAL "common")
      continue()
    endif()
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    # Entry points live beside their subsystem but belong to their own executables.
    list(FILTER dir_sources EXCLUDE REGEX "/(OrvelManager|OrvelRunAs)Main\\.cpp$")
    list(APPEND sources ${dir_sources})
  endforeach()
  add_library(orvel_core STATIC ${sources})
  orvel_target_options(orvel_core)
  target_include_directories(orvel_core PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(orvel_core PUBLIC orvel_common)
endfunction()
