# Runs at install time, when the prefix is known: writes the launcher with the program's full
# path in Exec, quoted as the Desktop Entry format asks (a prefix may hold blanks), and links
# bin/kurbelfon to the program.
set(program "${CMAKE_INSTALL_PREFIX}/${KURBELFON_PROGRAM_DIR}/kurbelfon")
set(quoted "${program}")
foreach(special "\\" "\"" "`" "$")
    string(REPLACE "${special}" "\\${special}" quoted "${quoted}")
endforeach()
string(REPLACE "%" "%%" quoted "${quoted}")
# The value itself escapes its backslashes once more.
string(REPLACE "\\" "\\\\" KURBELFON_EXEC "\"${quoted}\"")
configure_file("${KURBELFON_LAUNCHER_TEMPLATE}" "${KURBELFON_LAUNCHER}" @ONLY)
file(INSTALL "${KURBELFON_LAUNCHER}" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")

set(bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
file(MAKE_DIRECTORY "${bin}")
file(REMOVE "${bin}/kurbelfon")
file(CREATE_LINK "../${KURBELFON_PROGRAM_DIR}/kurbelfon" "${bin}/kurbelfon" SYMBOLIC)
message(STATUS "Installing: ${bin}/kurbelfon -> ../${KURBELFON_PROGRAM_DIR}/kurbelfon")
