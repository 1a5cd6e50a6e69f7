# Build rules shared by the program, the tests and the benchmarks.
#
# All product code except the entry point is one static library, orvel_core, built from every
# .cpp of the subsystem folders: the subsystems call each other in both directions (the
# application records hold the lists, the lists read the records), which a chain of static
# libraries cannot express. Tests and benchmarks link the same library.

set(ORVEL_SUBSYSTEMS common framework fonts app lists groups viewing search printing launcher)

set(ORVEL_SYSTEM_LIBS
  comctl32 gdi32 gdiplus shlwapi shell32 ole32 oleaut32 uuid advapi32 version
  comdlg32 winspool msimg32 uxtheme user32 kernel32)

function(orvel_target_options target)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0A00 WINVER=0x0A00
                             NOMINMAX STRICT)
  target_compile_options(${target} PRIVATE -municode -Wall -Wextra -Wno-unused-parameter
                         -Wno-missing-field-initializers -Wno-cast-function-type)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(${target} PRIVATE -municode -static -static-libgcc -static-libstdc++)
endfunction()

function(orvel_add_core)
  set(sources)
  foreach(dir ${ORVEL_SUBSYSTEMS})
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    # Entry points live beside their subsystem but belong to their own executables.
    list(FILTER dir_sources EXCLUDE REGEX "/(OrvelManager|OrvelRunAs)Main\\.cpp$")
    list(APPEND sources ${dir_sources})
  endforeach()
  add_library(orvel_core STATIC ${sources})
  orvel_target_options(orvel_core)
  target_include_directories(orvel_core PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(orvel_core PUBLIC ${ORVEL_SYSTEM_LIBS})
endfunction()
