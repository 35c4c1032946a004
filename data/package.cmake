# make deb: a Debian package from the same install rules, with the program in /usr/lib/kurbelfon.
# The package's own files (manual page, AppStream file, copyright, changelog) are installed by
# every cmake --install too; they are harmless in a home prefix.
set(_data ${CMAKE_CURRENT_LIST_DIR})
set(KURBELFON_HOMEPAGE "https://kurbelfon.example/")
set(KURBELFON_MAINTAINER "Kurbelfon <kurbelfon@kurbelfon.example>")
set(KURBELFON_APPSTREAM_ID "example.kurbelfon.Kurbelfon")
execute_process(COMMAND date -u -R -d "${KURBELFON_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE KURBELFON_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

set(_metainfo ${CMAKE_BINARY_DIR}/${KURBELFON_APPSTREAM_ID}.metainfo.xml)
configure_file(${_data}/kurbelfon.metainfo.xml.in ${_metainfo} @ONLY)
configure_file(${_data}/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
# Debian wants them compressed without a time stamp, so the bytes only follow the source.
# The manual page in German, the program's language, and a short one in English.
set(_compressed)
foreach(pair "kurbelfon.1:${_data}/kurbelfon.1" "de/kurbelfon.1:${_data}/kurbelfon.de.1"
        "changelog:${CMAKE_BINARY_DIR}/package/changelog")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 source)
    set(target ${CMAKE_BINARY_DIR}/package/${name}.gz)
    get_filename_component(folder ${target} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    add_custom_command(OUTPUT ${target} COMMAND gzip -9nc ${source} > ${target}
                       DEPENDS ${source} VERBATIM)
    list(APPEND _compressed ${target})
endforeach()
add_custom_target(kurbelfon_package_files ALL DEPENDS ${_compressed})

install(FILES ${_metainfo} DESTINATION share/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/package/kurbelfon.1.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_BINARY_DIR}/package/de/kurbelfon.1.gz DESTINATION share/man/de/man1)
install(FILES ${_data}/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
        DESTINATION share/doc/kurbelfon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kurbelfon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KURBELFON_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The launcher's Exec names the program below the real prefix, not below CPack's staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KURBELFON_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# QtSql loads its SQLite driver as a plugin, which dpkg-shlibdeps cannot see; the call journal's
# file needs it. The libraries the program and its modules link come after it from shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# Without a sound server the loudspeaker cannot dial, without the German Qt texts the dialogs'
# buttons speak English; the program still runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pulseaudio | pipewire-pulse, notification-daemon, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wählhilfe mit Telefonbuch für Modem, Lautsprecher und Router")
# CPack puts the summary in front as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kurbelfon führt ein persönliches Telefonbuch mit vier Karten und wählt den
ausgesuchten Eintrag über ein Hayes-Modem an der seriellen Schnittstelle,
mit Wähltönen (DTMF) über den Lautsprecher oder über die Wählhilfe des
Routers (TR-064, etwa eine FRITZ!Box). Mit dem Anrufmonitor des Routers
zeigt es, wer anruft, mit dem Namen aus dem Telefonbuch, und ruft verpasste
Anrufe zurück. Es setzt die Ziffern passend zum Standort zusammen, stellt
auf Wunsch einen Call-by-Call-Anbieter voran und öffnet tel:- und
callto:-Links. Kurbelfon wohnt im Infobereich und spricht Deutsch. Jeder
Benutzer hat sein eigenes Telefonbuch in ~/.local/share/Kurbelfon.")
include(CPack)
