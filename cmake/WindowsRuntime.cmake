# The DLLs a Windows build of the windows loads, copied beside the executables in bin/: Qt's libraries, the
# GCC runtime they share with the program, and the plugins (the windows and offscreen platforms, the
# Windows style, the image formats). Tests, the end-to-end runs under Wine and the packages all use this
# folder as it is.
get_filename_component(QUORVEL_QT_WINDOWS_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)
set(QUORVEL_WINDOWS_RUNTIME_DLLS)
foreach(dll Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport libstdc++-6 libgcc_s_seh-1 libwinpthread-1)
    list(APPEND QUORVEL_WINDOWS_RUNTIME_DLLS ${QUORVEL_QT_WINDOWS_PREFIX}/bin/${dll}.dll)
endforeach()
set(QUORVEL_WINDOWS_PLUGINS platforms/qwindows platforms/qoffscreen styles/qwindowsvistastyle
                            imageformats/qico imageformats/qgif imageformats/qjpeg)

set(runtime_outputs)
set(runtime_commands)
foreach(dll IN LISTS QUORVEL_WINDOWS_RUNTIME_DLLS ITEMS ${QUORVEL_QT_WINDOWS_PREFIX}/bin/Qt6Test.dll)
    get_filename_component(name ${dll} NAME)
    list(APPEND runtime_outputs ${CMAKE_BINARY_DIR}/bin/${name})
    list(APPEND runtime_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dll} ${CMAKE_BINARY_DIR}/bin/)
endforeach()
foreach(plugin IN LISTS QUORVEL_WINDOWS_PLUGINS)
    get_filename_component(folder ${plugin} DIRECTORY)
    list(APPEND runtime_outputs ${CMAKE_BINARY_DIR}/bin/${plugin}.dll)
    list(APPEND runtime_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/${folder}
         COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUORVEL_QT_WINDOWS_PREFIX}/plugins/${plugin}.dll
                 ${CMAKE_BINARY_DIR}/bin/${folder}/)
endforeach()
add_custom_command(OUTPUT ${runtime_outputs} ${runtime_commands}
                   COMMENT "Copying Qt and the GCC runtime beside the Windows executables" VERBATIM)
add_custom_target(windows_runtime ALL DEPENDS ${runtime_outputs})
