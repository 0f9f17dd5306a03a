# Settings shared by every Windows target of the cross build.
enable_language(RC)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                        _WIN32_WINNT=0x0601 WINVER=0x0601)

# Self-contained programs: no compiler runtime DLLs beside the .exe.
add_link_options(-static -static-libgcc -static-libstdc++)

# The host's Boost headers reach this build only through a folder that holds
# nothing but "boost"; the host's other headers must never be seen here.
set(CORVANE_BOOST_INCLUDE ${CMAKE_BINARY_DIR}/boost-include)
file(MAKE_DIRECTORY ${CORVANE_BOOST_INCLUDE})
if(NOT EXISTS ${CORVANE_BOOST_INCLUDE}/boost)
  file(CREATE_LINK /usr/include/boost ${CORVANE_BOOST_INCLUDE}/boost SYMBOLIC)
endif()
add_library(boost_headers INTERFACE)
target_include_directories(boost_headers SYSTEM INTERFACE ${CORVANE_BOOST_INCLUDE})

# GoogleTest from Debian's source package, built with the cross compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

include(GoogleTest)
include(ShippedProgram)
include(Launcher)

# Windows programs built with wmain/wWinMain.
function(corvane_windows_app target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()

# corvane_version_resource(<target> <internal name> <file description>)
# Gives a program the version resource Windows shows in its properties.
function(corvane_version_resource target internal_name description)
  set(CORVANE_INTERNAL_NAME ${internal_name})
  set(CORVANE_FILE_DESCRIPTION ${description})
  set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/version.rc.in ${rc_file} @ONLY)
  target_sources(${target} PRIVATE ${rc_file})
endfunction()
