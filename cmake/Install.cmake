# Where "cmake --install" puts things: the two programs and the freedesktop files that put
# Hollyvine in the menu, tie "*.hv" documents to it and document it (icons, desktop file, MIME
# type, AppStream metainfo, man pages, bash completion). scripts/check-install checks the layout.
include(GNUInstallDirs)

set(HV_DATA_DIR ${PROJECT_SOURCE_DIR}/data)

install(TARGETS hvtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(HV_BUILD_GUI)
  install(TARGETS hollyvine RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${HV_DATA_DIR}/icons/hollyvine.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS HV_ICON_SIZES)
  install(FILES ${HV_DATA_DIR}/icons/hollyvine-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME hollyvine.png)
endforeach()

install(FILES ${HV_DATA_DIR}/hollyvine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${HV_DATA_DIR}/hollyvine.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${HV_DATA_DIR}/invalid.hollyvine.Hollyvine.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(page hollyvine hvtool)
  configure_file(${HV_DATA_DIR}/man/${page}.1.in ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${HV_DATA_DIR}/completion/hvtool.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME hvtool)
