# What lies beside the program besides the executable, and the desktop's launcher and icons.
set(_data ${CMAKE_CURRENT_LIST_DIR})
set(KURBELFON_PROGRAM_FILES ${_data}/hilfe.htm ${_data}/banner-kurbelfon.png
                            ${_data}/banner-partner.png)
set(KURBELFON_ICON_SIZES 16 22 24 32 48 64 128 256)

# The build folder is a program folder too (make run, the tests).
foreach(file ${KURBELFON_PROGRAM_FILES})
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${CMAKE_BINARY_DIR}/${name} COPYONLY)
endforeach()

# The window and tray icon, compiled in so that it shows without an installed icon theme.
set(_icons)
foreach(size ${KURBELFON_ICON_SIZES})
    set(_icon ${_data}/icons/hicolor/${size}x${size}/apps/kurbelfon.png)
    set_source_files_properties(${_icon} PROPERTIES QT_RESOURCE_ALIAS kurbelfon-${size}.png)
    list(APPEND _icons ${_icon})
endforeach()
qt_add_resources(kurbelfon "icons" PREFIX "/icons" FILES ${_icons})

# cmake --install build --prefix ~/.local: the program folder below the prefix, a link in bin/,
# the launcher in share/applications and the icons in share/icons/hicolor.
set(KURBELFON_PROGRAM_DIR "lib/kurbelfon" CACHE STRING "Program folder below the install prefix")
install(TARGETS kurbelfon RUNTIME DESTINATION ${KURBELFON_PROGRAM_DIR})
# In a folder of their own: a library right below lib/ would make the package call ldconfig.
install(TARGETS ${KURBELFON_MODULES} LIBRARY DESTINATION ${KURBELFON_PROGRAM_DIR}/modules)
install(FILES ${KURBELFON_PROGRAM_FILES} DESTINATION ${KURBELFON_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/snd DESTINATION ${KURBELFON_PROGRAM_DIR})
install(DIRECTORY ${_data}/icons/hicolor DESTINATION share/icons)
install(CODE "set(KURBELFON_PROGRAM_DIR \"${KURBELFON_PROGRAM_DIR}\")
              set(KURBELFON_LAUNCHER_TEMPLATE \"${_data}/kurbelfon.desktop.in\")
              set(KURBELFON_LAUNCHER \"${CMAKE_BINARY_DIR}/kurbelfon.desktop\")")
install(SCRIPT ${_data}/InstallLauncher.cmake)
