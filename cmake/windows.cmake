# The Windows half of the tree: Win32 adapters and views, the program, the stand-ins and the
# tests that run under Wine (through the cross-compiling emulator, scripts/wine-run).
enable_language(RC)
# Test programs run under Wine, in a prefix private to this build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/wine-run;${CMAKE_BINARY_DIR}")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)

# Active Accessibility: uuid comes before oleacc, else IID_IAccessible resolves to a stub that every
# object refuses (E_NOINTERFACE); oleaut32 and ole32 carry its BSTRs, VARIANTs and COM.
set(WIN32_SYSTEM_LIBRARIES user32 gdi32 comctl32 uuid oleacc oleaut32 ole32)

add_library(corvane_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(corvane_win32 PUBLIC corvane_core ${WIN32_SYSTEM_LIBRARIES})

# The program.
file(GLOB RESOURCE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)
add_executable(CorvaneLink WIN32 ${CMAKE_SOURCE_DIR}/app/main_win32.cpp ${RESOURCE_SCRIPTS})
target_link_libraries(CorvaneLink PRIVATE corvane_win32)
target_include_directories(CorvaneLink PRIVATE ${CMAKE_BINARY_DIR}/generated)  # the .rc's version header
# WIN32 above already links it as a GUI program (-mwindows).
target_link_options(CorvaneLink PRIVATE -municode $<$<CONFIG:Release>:-s>)
set_target_properties(CorvaneLink PROPERTIES OUTPUT_NAME CorvaneLink RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Stand-in programs: one .cpp each, GUI programs.
file(GLOB STANDIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/standins/*.cpp)
set(STANDIN_TARGETS)
foreach(source IN LISTS STANDIN_SOURCES)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} WIN32 ${source})
  target_link_libraries(${name} PRIVATE ${WIN32_SYSTEM_LIBRARIES} shell32)  # shell32: their command line
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standins)
  list(APPEND STANDIN_TARGETS ${name})
endforeach()

# Tests under Wine, listed one by one: CTest asks each test program for its tests through the
# emulator when it runs (the list is remade whenever the program is newer). Each test program
# finds the stand-ins and the program beside it through CORVANE_BUILD_DIR (a Windows path, Z:
# maps to the host's /).
include(GoogleTest)
set(WINE_TEST_ENV "CORVANE_BUILD_DIR=Z:${CMAKE_BINARY_DIR}")
function(corvane_wine_test name label)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${label}/*.cpp ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE corvane_win32 corvane_fakes GTest::gtest_main GTest::gmock)
  add_dependencies(${name} CorvaneLink ${STANDIN_TARGETS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  # They share one Wine prefix and its C: drive: one at a time.
  gtest_discover_tests(${name} EXTRA_ARGS --gtest_color=no DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 NO_PRETTY_VALUES
                       PROPERTIES LABELS ${label} RUN_SERIAL TRUE TIMEOUT 600 ENVIRONMENT "${WINE_TEST_ENV}")
endfunction()
corvane_wine_test(corvane_win32_tests win32)
corvane_wine_test(corvane_e2e_tests e2e)

# The least program that shows a window, built like the link: the start-up benchmark's yardstick.
add_executable(empty_window WIN32 ${CMAKE_SOURCE_DIR}/bench/empty_window_win32.cpp)
target_link_libraries(empty_window PRIVATE user32)
target_link_options(empty_window PRIVATE -municode $<$<CONFIG:Release>:-s>)
set_target_properties(empty_window PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The link on a system set to UTF-8: Wine gives code page 65001 to a program whose manifest asks
# for it (a registry ACP does not change Wine's), so this test is a program of its own.
add_executable(corvane_utf8_tests ${CMAKE_SOURCE_DIR}/tests/win32/utf8/utf8_win32_test.cpp
                                  ${CMAKE_SOURCE_DIR}/tests/win32/utf8/utf8.rc)
target_link_libraries(corvane_utf8_tests PRIVATE corvane_win32 GTest::gtest_main)
set_target_properties(corvane_utf8_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_test(NAME corvane_utf8_tests COMMAND corvane_utf8_tests --gtest_color=no)
set_tests_properties(corvane_utf8_tests PROPERTIES LABELS win32 RUN_SERIAL TRUE TIMEOUT 300)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_wine.cpp)
foreach(source IN LISTS BENCH_SOURCES)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE corvane_win32 corvane_fakes)
  add_dependencies(${name} ${STANDIN_TARGETS} CorvaneLink empty_window)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endforeach()

# The run command's console helper: where the launcher's tooth is on the screen.
add_executable(launcher_point ${CMAKE_SOURCE_DIR}/scripts/demo/launcher_point.cpp)
target_include_directories(launcher_point PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(launcher_point PRIVATE user32)
set_target_properties(launcher_point PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The installer (NSIS): build/win64/CorvaneLink-<version>-setup.exe, signed when the environment
# names a certificate (installer/sign.sh). The settings files it provides are made beforehand by
# the native helper reset_settings into CORVANE_RESET_SETTINGS (scripts/package.sh does both).
set(CORVANE_RESET_SETTINGS "${CMAKE_BINARY_DIR}/installer/settings" CACHE PATH "Tech.txt and Tech2.txt with the reset values")
set(CORVANE_INSTALLER "${CMAKE_BINARY_DIR}/CorvaneLink-${PROJECT_VERSION}-setup.exe")
add_custom_target(installer
  COMMAND ${CMAKE_SOURCE_DIR}/installer/make_installer.sh $<TARGET_FILE:CorvaneLink> ${CORVANE_RESET_SETTINGS}
          ${PROJECT_VERSION} ${CORVANE_INSTALLER}
  DEPENDS CorvaneLink ${CMAKE_SOURCE_DIR}/installer/corvane.nsi
  COMMENT "Making ${CORVANE_INSTALLER}" VERBATIM)

# The installer under Wine, in a prefix of its own (the other tests' prefix stays untouched); the
# run command's launcher_point tells when the installed program shows its launcher.
add_test(NAME installer_installs_keeps_settings_and_uninstalls
         COMMAND ${CMAKE_SOURCE_DIR}/tests/install/install_test.sh ${CMAKE_BINARY_DIR} ${CORVANE_INSTALLER})
set_tests_properties(installer_installs_keeps_settings_and_uninstalls PROPERTIES LABELS install RUN_SERIAL TRUE TIMEOUT 600)
