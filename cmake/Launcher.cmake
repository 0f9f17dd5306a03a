# corvane_add_launcher(<target> PAYLOAD <program target> [OUTPUT_NAME <name>] [ICON <file.ico>])
# Builds a launcher that carries <program target>'s .exe as resource "BIN" 201, and the icon as
# icon 128 (what Explorer shows for the file). It is a shipped program
# (cmake/ShippedProgram.cmake).
function(corvane_add_launcher target)
  cmake_parse_arguments(ARG "" "PAYLOAD;OUTPUT_NAME;ICON" "" ${ARGN})
  set(launcher_dir ${CMAKE_SOURCE_DIR}/launcher)
  set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)

  set(payload_copy ${CMAKE_CURRENT_BINARY_DIR}/${target}-payload.bin)

  # A copy under a fixed name gives the resource compiler a file-level dependency.
  add_custom_command(OUTPUT ${payload_copy}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${ARG_PAYLOAD}> ${payload_copy}
    DEPENDS ${ARG_PAYLOAD}
    VERBATIM)

  set(CORVANE_LAUNCHER_MANIFEST ${launcher_dir}/launcher.manifest)
  set(CORVANE_LAUNCHER_PAYLOAD ${payload_copy})
  set(CORVANE_LAUNCHER_ICON_LINE "")
  if(ARG_ICON)
    set(CORVANE_LAUNCHER_ICON_LINE "128 ICON \"${ARG_ICON}\"")
  endif()
  configure_file(${launcher_dir}/launcher.rc.in ${rc_file} @ONLY)

  add_executable(${target} WIN32 ${launcher_dir}/Launcher.cpp ${rc_file})
  target_link_libraries(${target} PRIVATE corvane_launcher_core comctl32 ole32 shell32)
  target_link_options(${target} PRIVATE -municode)
  corvane_shipped_program(${target})
  corvane_version_resource(${target} uninstall "卸载 Corvane")
  # The resource must be compiled again whenever the payload changes.
  set_source_files_properties(${rc_file} PROPERTIES
    OBJECT_DEPENDS "${payload_copy};${CORVANE_LAUNCHER_MANIFEST};${ARG_ICON}")
  if(ARG_OUTPUT_NAME)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
endfunction()
