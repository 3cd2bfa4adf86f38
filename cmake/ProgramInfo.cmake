# What the programs and their installation share.

# The one place the version comes from: project(VERSION) of the top CMakeLists.txt, turned into a
# header that both programs include ("HVVersion.h"); link hv_version to see it.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/HVVersion.h @ONLY)
add_library(hv_version INTERFACE)
target_include_directories(hv_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# The program icon's sizes, data/icons/hollyvine-SIZE.png rendered from data/icons/hollyvine.svg
# (data/icons/render): built into the program and installed into the icon theme.
set(HV_ICON_SIZES 16 22 24 32 48 64 128 256)
