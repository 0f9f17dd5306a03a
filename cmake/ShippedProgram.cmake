# Loader rules of the programs we ship (uninstall.exe, uninstaller.exe). The uninstaller runs
# from a folder in the user's temp folder, so no DLL may ever be taken from a program's own folder:
# - the import tables name only what process start needs: kernel32 and the C runtime (msvcrt),
#   which the start-up code calls before the program's first statement. Both are KnownDLLs,
#   which Windows maps from its system folder whatever the search order (tools/check-imports);
# - every other system DLL is delay-loaded: the link of a shipped program finds delay-load
#   import libraries under the usual names (libuser32.a, ...) first, so whichever object asks for
#   user32 gets it delay-loaded. The program's first statement is
#   RestrictDllSearchToSystemFolder() (win/SystemLibrary.h), so the first call loads the DLL, and
#   the DLLs it pulls in, from the system folder alone. Graphics DLLs that older Windows lack are
#   looked up at run time instead.

set(CORVANE_CHECK_IMPORTS ${PROJECT_SOURCE_DIR}/tools/check-imports)

# DLLs that every supported Windows has in its system folder, and only these, may be
# delay-loaded (one that is missing would be searched for by its bare name).
set(CORVANE_SYSTEM_DLLS_OF_SHIPPED_PROGRAMS
    user32 gdi32 advapi32 shell32 ole32 oleaut32 comctl32 comdlg32 shlwapi psapi imm32)
set(CORVANE_DELAY_LOADABLE_DLLS ${CORVANE_SYSTEM_DLLS_OF_SHIPPED_PROGRAMS}
    gdiplus d3d11 dxgi d2d1 dwrite windowscodecs dwmapi uxtheme version)
set(CORVANE_DELAY_LOAD_FOLDER ${CMAKE_BINARY_DIR}/delay-load)

# corvane_delay_load_library(<name>)
# Target corvane_delayed_<name>: an import library for <name>.dll whose entry points load the
# DLL at their first call, lib<name>.a in CORVANE_DELAY_LOAD_FOLDER. Made by dlltool from
# MinGW's own import library.
function(corvane_delay_load_library name)
  if(TARGET corvane_delayed_${name})
    return()
  endif()
  if(NOT name IN_LIST CORVANE_DELAY_LOADABLE_DLLS)
    message(FATAL_ERROR "${name}.dll may not be delay-loaded: not every Windows has it")
  endif()
  find_library(CORVANE_IMPORT_LIB_${name} ${name} REQUIRED)
  set(import_lib ${CORVANE_IMPORT_LIB_${name}})
  set(def ${CORVANE_DELAY_LOAD_FOLDER}/${name}.def)
  set(delay_lib ${CORVANE_DELAY_LOAD_FOLDER}/lib${name}.a)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${import_lib})
  if(NOT EXISTS ${delay_lib} OR ${import_lib} IS_NEWER_THAN ${delay_lib})
    execute_process(COMMAND ${CMAKE_NM} -g ${import_lib}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "I __imp_[A-Za-z0-9_@]+" entries "${symbols}")
    list(TRANSFORM entries REPLACE "^I __imp_" "")
    list(REMOVE_DUPLICATES entries)
    list(JOIN entries "\n" exports)
    file(WRITE ${def} "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --def ${def} --dllname ${name}.dll
                            --output-delaylib ${delay_lib} COMMAND_ERROR_IS_FATAL ANY)
  endif()
  add_library(corvane_delayed_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(corvane_delayed_${name} PROPERTIES IMPORTED_LOCATION ${delay_lib})
endfunction()

# corvane_shipped_program(<target>)
# Marks a program we ship: every system DLL but kernel32 and msvcrt delay-loaded, linked without
# symbols or debug sections (the static runtime brings its own), its import table checked after
# every link (the build fails when it names a DLL outside the list), and once more by the test
# build.shipped_imports.
function(corvane_shipped_program target)
  foreach(dll IN LISTS CORVANE_SYSTEM_DLLS_OF_SHIPPED_PROGRAMS)
    corvane_delay_load_library(${dll})
  endforeach()
  # Searched before the toolchain's own folders, for every -l<name> of the link, the compiler
  # driver's defaults included.
  target_link_directories(${target} BEFORE PRIVATE ${CORVANE_DELAY_LOAD_FOLDER})
  target_link_options(${target} PRIVATE -s)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CORVANE_CHECK_IMPORTS} $<TARGET_FILE:${target}>
    COMMENT "Checking that ${target} imports only DLLs Windows takes from its system folder"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY CORVANE_SHIPPED_PROGRAMS ${target})
endfunction()
