# Quorvel for Windows: the program's icon, the NSIS installer (CPack) and the portable zip.
#
# The installer keeps the installed layout (bin\quorvel.exe beside its DLLs, the shipped files in
# share\quorvel), so that every user of the machine gets settings of their own under %APPDATA%\Quorvel.
# The zip is a flat, portable program folder: the shipped files beside quorvel.exe, settings there too while
# the folder can be written.

# The icon of quorvel.exe (and so of its Start-menu entry and of .qvl files), packed from the rendered PNGs.
find_program(ICOTOOL icotool REQUIRED)
set(QUORVEL_ICON_ICO ${CMAKE_CURRENT_BINARY_DIR}/icons/quorvel.ico)
set(ico_sources)
foreach(size 16 24 32 48 64 256)
    list(APPEND ico_sources ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/quorvel.png)
endforeach()
add_custom_command(OUTPUT ${QUORVEL_ICON_ICO} COMMAND ${ICOTOOL} --create --output ${QUORVEL_ICON_ICO} ${ico_sources}
                   DEPENDS ${ico_sources} COMMENT "Packing the Windows icon" VERBATIM)
enable_language(RC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quorvel.rc.in ${CMAKE_CURRENT_BINARY_DIR}/quorvel.rc @ONLY)
target_sources(quorvel PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/quorvel.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/quorvel.rc TARGET_DIRECTORY quorvel
                            PROPERTIES OBJECT_DEPENDS ${QUORVEL_ICON_ICO})
add_custom_target(quorvel_icon DEPENDS ${QUORVEL_ICON_ICO})
add_dependencies(quorvel quorvel_icon)

# What the installed program loads besides Qt's libraries.
install(FILES ${QUORVEL_WINDOWS_RUNTIME_DLLS} DESTINATION bin)
foreach(plugin IN LISTS QUORVEL_WINDOWS_PLUGINS)
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${QUORVEL_QT_WINDOWS_PREFIX}/plugins/${plugin}.dll DESTINATION bin/${folder})
endforeach()

# Qt's DLLs and the GCC runtime come with their symbols; installed, they are stripped like the program.
find_program(QUORVEL_MINGW_STRIP ${QUORVEL_MINGW_TRIPLE}-strip REQUIRED)
install(CODE "
    file(GLOB_RECURSE quorvel_dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/*.dll\")
    foreach(dll IN LISTS quorvel_dlls)
        execute_process(COMMAND \"${QUORVEL_MINGW_STRIP}\" --strip-unneeded \"\${dll}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()")

set(CPACK_GENERATOR NSIS)
# Every CPACK_ value reaches makensis exactly as written here (backslashes and quotes included).
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME Quorvel)
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME Quorvel-${PROJECT_VERSION}-win64-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quorvel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quorvel)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_EXECUTABLES quorvel Quorvel)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer (Debian's nsis ships the amd64 stubs), so that it installs into the 64-bit Program Files
# and writes the 64-bit registry, and runs where only 64-bit programs do.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_DISPLAY_NAME Quorvel)
set(CPACK_NSIS_PACKAGE_NAME Quorvel)
set(CPACK_NSIS_MUI_ICON ${QUORVEL_ICON_ICO})
set(CPACK_NSIS_MUI_UNIICON ${QUORVEL_ICON_ICO})
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\quorvel.exe")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# Drawing lists (.qvl) open in Quorvel; the Explorer is told of the change, and the uninstaller undoes it.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  WriteRegStr SHCTX "Software\Classes\.qvl" "" "Quorvel.DrawingList"
  WriteRegStr SHCTX "Software\Classes\Quorvel.DrawingList" "" "Quorvel Drawing List"
  WriteRegStr SHCTX "Software\Classes\Quorvel.DrawingList\DefaultIcon" "" "$INSTDIR\bin\quorvel.exe,0"
  WriteRegStr SHCTX "Software\Classes\Quorvel.DrawingList\shell\open\command" "" "$\"$INSTDIR\bin\quorvel.exe$\" $\"%1$\""
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  ReadRegStr $0 SHCTX "Software\Classes\.qvl" ""
  StrCmp $0 "Quorvel.DrawingList" 0 +2
    DeleteRegKey SHCTX "Software\Classes\.qvl"
  DeleteRegKey SHCTX "Software\Classes\Quorvel.DrawingList"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
]=])
include(CPack)

# The portable zip, made from the build's own bin folder (which already holds the DLLs and plugins).
set(QUORVEL_ZIP_NAME Quorvel-${PROJECT_VERSION}-win64)
add_custom_target(
    package_zip
    COMMAND ${CMAKE_COMMAND} -DBIN_DIR=${CMAKE_BINARY_DIR}/bin -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
            -DOUTPUT_DIR=${CMAKE_BINARY_DIR} -DNAME=${QUORVEL_ZIP_NAME} -DSTRIP=${QUORVEL_MINGW_STRIP}
            "-DDLLS=${QUORVEL_WINDOWS_RUNTIME_DLLS}" "-DPLUGINS=${QUORVEL_WINDOWS_PLUGINS}"
            -P ${CMAKE_CURRENT_LIST_DIR}/make-zip.cmake
    DEPENDS quorvel default_routines windows_runtime
    COMMENT "Making ${QUORVEL_ZIP_NAME}.zip"
    VERBATIM)
