# Files of this subsystem, relative to this folder.
set(_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND CORE_SOURCES
    ${_dir}/DialComposition.cpp
    ${_dir}/EntryDialer.cpp
    ${_dir}/LinkDialer.cpp
    ${_dir}/ComPort.cpp
    ${_dir}/ModemDialer.cpp
    ${_dir}/ToneKeys.cpp
    ${_dir}/SoundModulePlayer.cpp
    ${_dir}/ToneDialer.cpp
)
list(APPEND GUI_SOURCES
    ${_dir}/DialingDialog.cpp
    ${_dir}/ModemCall.cpp
)
