# Files of this subsystem, relative to this folder.
set(_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND CORE_SOURCES
    ${_dir}/PhoneNumbers.cpp
    ${_dir}/VCardReader.cpp
    ${_dir}/VCardWriter.cpp
    ${_dir}/ContactEntries.cpp
    ${_dir}/ContactSourceSettings.cpp
    ${_dir}/MultistatusReader.cpp
    ${_dir}/WebDavBodies.cpp
    ${_dir}/CardDavClient.cpp
)
