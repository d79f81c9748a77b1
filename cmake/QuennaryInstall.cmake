# `cmake --install`: the converter reads its skin and preset catalogue from beside its own executable (the folder
# /proc/self/exe names), so the executable and that data share a folder of their own, and bin/ holds a relative
# link to the executable. The desktop entry and the drawn icon go where desktops look for them.
include(GNUInstallDirs)
set(QUENNARY_INSTALL_APPDIR "lib/quennary" CACHE STRING
  "Folder, relative to the prefix, of the executable and the data it reads beside itself")

install(TARGETS quennary RUNTIME DESTINATION ${QUENNARY_INSTALL_APPDIR})
install(DIRECTORY $<TARGET_FILE_DIR:quennary>/skin-red $<TARGET_FILE_DIR:quennary>/mp4-converter-profiles
  DESTINATION ${QUENNARY_INSTALL_APPDIR})

file(RELATIVE_PATH quennary_link_target /${CMAKE_INSTALL_BINDIR} /${QUENNARY_INSTALL_APPDIR}/quennary)
install(CODE "
  set(quennary_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quennary\")
  message(STATUS \"Installing: \${quennary_link} -> ${quennary_link_target}\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(REMOVE \"\${quennary_link}\")
  file(CREATE_LINK \"${quennary_link_target}\" \"\${quennary_link}\" SYMBOLIC)")

install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/quennary.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${QUENNARY_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
