# Loader rules of the programs we ship (uninstall.exe, uninstaller.exe). The uninstaller runs
# from a folder in the user's temp folder that any program of the user can write to, so no DLL
# may ever be taken from a program's own folder:
# - the import tables name only DLLs that every Windows from 7 SP1 on loads from its system
#   folder whatever the search order (tools/check-imports holds the list);
# - every other DLL is delay-loaded (corvane_delay_load_library) or looked up at run time
#   (win/SystemLibrary.h), and the program's first statement is
#   RestrictDllSearchToSystemFolder(), which also sends delay-loaded DLLs to the system folder.

set(CORVANE_CHECK_IMPORTS ${PROJECT_SOURCE_DIR}/tools/check-imports)

# DLLs that every supported Windows has in its system folder, and only these, may be
# delay-loaded (one that is missing would be searched for by its bare name).
set(CORVANE_DELAY_LOADABLE_DLLS gdiplus d3d11 dxgi d2d1 dwrite windowscodecs dwmapi uxtheme version)

# corvane_delay_load_library(<name>)
# Target corvane_delayed_<name>: an import library for <name>.dll whose entry points load the
# DLL at their first call. Made by dlltool from MinGW's own import library.
function(corvane_delay_load_library name)
  if(TARGET corvane_delayed_${name})
    return()
  endif()
  if(NOT name IN_LIST CORVANE_DELAY_LOADABLE_DLLS)
    message(FATAL_ERROR "${name}.dll may not be delay-loaded: not every Windows has it")
  endif()
  find_library(CORVANE_IMPORT_LIB_${name} ${name} REQUIRED)
  set(import_lib ${CORVANE_IMPORT_LIB_${name}})
  set(folder ${CMAKE_BINARY_DIR}/delay-load)
  set(def ${folder}/${name}.def)
  set(delay_lib ${folder}/lib${name}-delayed.a)
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
# Marks a program we ship: linked without symbols or debug sections (the static runtime
# brings its own), its import table checked after every link (the build fails when it names
# a DLL outside the list), and once more by the test build.shipped_imports.
function(corvane_shipped_program target)
  target_link_options(${target} PRIVATE -s)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CORVANE_CHECK_IMPORTS} $<TARGET_FILE:${target}>
    COMMENT "Checking that ${target} imports only DLLs Windows takes from its system folder"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY CORVANE_SHIPPED_PROGRAMS ${target})
endfunction()
