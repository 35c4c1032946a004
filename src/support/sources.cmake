# Files of this subsystem, relative to this folder.
set(_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND CORE_SOURCES
    ${_dir}/Cp1252.cpp
    ${_dir}/FieldReader.cpp
    ${_dir}/FileSaver.cpp
    ${_dir}/MemoryRelease.cpp
    ${_dir}/Paths.cpp
    ${_dir}/DesktopEntry.cpp
    ${_dir}/RegistryStore.cpp
    ${_dir}/AutoStartRules.cpp
    ${_dir}/HelpAndBanner.cpp
    ${_dir}/MessageText.cpp
    ${_dir}/DataFolder.cpp
    ${_dir}/ProgramModule.cpp
)
list(APPEND GUI_SOURCES
    ${_dir}/UserMessage.cpp
    ${_dir}/GermanTranslation.cpp
    ${_dir}/Cp1252Validator.cpp
    ${_dir}/EditorKeys.cpp
    ${_dir}/HeldKeys.cpp
    ${_dir}/AutoStart.cpp
    ${_dir}/ShellOpen.cpp
    ${_dir}/NumberedMenu.cpp
)
