# Files of this subsystem, relative to this folder.
set(_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND CORE_SOURCES
    ${_dir}/EntryLine.cpp
    ${_dir}/CardModel.cpp
    ${_dir}/PhoneRegister.cpp
    ${_dir}/RegisterFile.cpp
)
list(APPEND GUI_SOURCES
    ${_dir}/EntryEditor.cpp
)
