# Files of this subsystem, relative to this folder.
set(_dir ${CMAKE_CURRENT_LIST_DIR})
list(APPEND CORE_SOURCES
    ${_dir}/ProviderEntry.cpp
    ${_dir}/ProviderTableModel.cpp
    ${_dir}/BestProvider.cpp
    ${_dir}/ProviderFile.cpp
)
list(APPEND GUI_SOURCES
    ${_dir}/TimeSlider.cpp
    ${_dir}/ProviderEditor.cpp
    ${_dir}/ProviderList.cpp
)
