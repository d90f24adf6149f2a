# The Windows build (cross-compiled with MinGW-w64, see cmake/mingw-w64.cmake): the program's
# icon and version resource, and the start program of the Start-menu entry. The setup program
# itself is made by scripts/build-windows.sh from these targets.
#
# Installed layout (Program Files\Varnel):
#   varnel.exe, the Qt and MinGW DLLs it imports, platforms\, sqldrivers\, qtbase_zh_CN.qm
#   varnel-start.exe      the Start-menu entry: makes %USERPROFILE%\Varnel, copies the pristine
#                         files there when absent, starts varnel.exe in it
#   varnel-import-cases.exe  copies a PC's varnel.db into the office archive varnel.ini names
#   share\                the pristine empty database, spreadsheet template and plan document
#                         template
# and the office's settings example in %ProgramData%\Varnel\varnel.ini.

enable_language(RC)
set(VARNEL_WINDOWS_OUT ${CMAKE_BINARY_DIR}/windows)
file(MAKE_DIRECTORY ${VARNEL_WINDOWS_OUT})

# The icon, drawn from the same SVG as the Linux one at the sizes Windows shows.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(VARNEL_ICO ${VARNEL_WINDOWS_OUT}/varnel.ico)
set(icon_pngs)
set(icon_commands)
foreach(size 16 24 32 48 256)
  list(APPEND icon_pngs ${VARNEL_WINDOWS_OUT}/varnel-${size}.png)
  list(APPEND icon_commands COMMAND ${RSVG_CONVERT} -w ${size} -h ${size}
       -o ${VARNEL_WINDOWS_OUT}/varnel-${size}.png ${CMAKE_SOURCE_DIR}/packaging/varnel.svg)
endforeach()
add_custom_command(
  OUTPUT ${VARNEL_ICO}
  ${icon_commands}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/packaging/windows/make_ico.py ${VARNEL_ICO}
          ${icon_pngs}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/varnel.svg ${CMAKE_SOURCE_DIR}/packaging/windows/make_ico.py
  COMMENT "Drawing the Windows icon")
add_custom_target(varnel_icon DEPENDS ${VARNEL_ICO})

# A version resource with the icon for each program.
function(varnel_windows_resource target description)
  set(VARNEL_RC_DESCRIPTION "${description}")
  set(rc ${VARNEL_WINDOWS_OUT}/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/varnel.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${VARNEL_ICO})
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} varnel_icon)
endfunction()

# The program is a windowed one: no console opens beside it.
set_target_properties(varnel PROPERTIES WIN32_EXECUTABLE ON)
varnel_windows_resource(varnel "Varnel 法院办公工具")

add_executable(varnel_start WIN32 ${CMAKE_SOURCE_DIR}/packaging/windows/varnel_start.cpp)
set_target_properties(varnel_start PROPERTIES OUTPUT_NAME varnel-start AUTOMOC OFF)
target_compile_definitions(varnel_start PRIVATE UNICODE _UNICODE)
target_link_options(varnel_start PRIVATE -municode -static)
varnel_windows_resource(varnel_start "Varnel 启动程序")
