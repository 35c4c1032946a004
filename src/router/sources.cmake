# Files of this subsystem, relative to this folder.
set(_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND CORE_SOURCES
    ${_dir}/RouterSettings.cpp
    ${_dir}/CallMonitorLine.cpp
    ${_dir}/CallTracker.cpp
    ${_dir}/AnnouncementRate.cpp
    ${_dir}/CallListReader.cpp
    ${_dir}/CallMonitorConnection.cpp
    ${_dir}/CallerDirectory.cpp
    ${_dir}/SoapMessage.cpp
    ${_dir}/Tr64Client.cpp
    ${_dir}/RouterDialHelper.cpp
    ${_dir}/RouterCallList.cpp
    ${_dir}/PhonebookReader.cpp
    ${_dir}/RouterPhonebooks.cpp
    ${_dir}/RouterPassword.cpp
)
list(APPEND GUI_SOURCES
)
