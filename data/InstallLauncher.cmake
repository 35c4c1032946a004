# Runs at install time, when the prefix is known: writes the launcher with the program's full
# path in Exec, and links bin/kurbelfon to the program.
set(program "${CMAKE_INSTALL_PREFIX}/${KURBELFON_PROGRAM_DIR}/kurbelfon")
# Quoted only where the Desktop Entry format asks for it (a blank or a reserved character):
# xdg-open on desktops without an opener of their own keeps the quotes of the first word and
# then cannot start the program.
set(exec "${program}")
foreach(code 32 9 10 34 39 92 62 60 126 124 38 59 36 42 63 35 40 41 96)
    string(ASCII ${code} reserved)
    string(FIND "${program}" "${reserved}" at)
    if(NOT at EQUAL -1)
        set(quote TRUE)
    endif()
endforeach()
if(quote)
    foreach(special "\\" "\"" "`" "$")
        string(REPLACE "${special}" "\\${special}" exec "${exec}")
    endforeach()
    set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" exec "${exec}")
# The value itself escapes its backslashes once more.
string(REPLACE "\\" "\\\\" KURBELFON_EXEC "${exec}")
configure_file("${KURBELFON_LAUNCHER_TEMPLATE}" "${KURBELFON_LAUNCHER}" @ONLY)
file(INSTALL "${KURBELFON_LAUNCHER}" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")

set(bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
file(MAKE_DIRECTORY "${bin}")
file(REMOVE "${bin}/kurbelfon")
file(CREATE_LINK "../${KURBELFON_PROGRAM_DIR}/kurbelfon" "${bin}/kurbelfon" SYMBOLIC)
message(STATUS "Installing: ${bin}/kurbelfon -> ../${KURBELFON_PROGRAM_DIR}/kurbelfon")
