# Installation: the two programs, the desktop entry, the MIME type of ".lum"
# files and the icons, so that the desktop opens settings files with lumo.
include(GNUInstallDirs)

option(LUMO_INSTALL_UPDATE_CACHES
       "Refresh the MIME and desktop databases after installing (skipped under DESTDIR)" ON)

set(LUMO_INSTALLED_PROGRAMS "")
foreach(program IN ITEMS lumo lumo-render)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    list(APPEND LUMO_INSTALLED_PROGRAMS ${program})
  endif()
endforeach()

set(LUMO_DATA_SOURCE ${CMAKE_CURRENT_LIST_DIR}/data)
set(LUMO_ICON_SOURCE ${CMAKE_CURRENT_LIST_DIR}/icons)
set(LUMO_ICON_THEME ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

install(FILES ${LUMO_DATA_SOURCE}/lumo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LUMO_DATA_SOURCE}/lumo-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME lumo.xml)

foreach(size IN ITEMS 16 24 32 48 64 128 256)
  install(FILES ${LUMO_ICON_SOURCE}/lumo-${size}.png
          DESTINATION ${LUMO_ICON_THEME}/${size}x${size}/apps RENAME lumo.png)
  install(FILES ${LUMO_ICON_SOURCE}/lumo-document-${size}.png
          DESTINATION ${LUMO_ICON_THEME}/${size}x${size}/mimetypes RENAME application-x-lumo.png)
endforeach()
install(FILES ${LUMO_ICON_SOURCE}/lumo.svg DESTINATION ${LUMO_ICON_THEME}/scalable/apps)
install(FILES ${LUMO_ICON_SOURCE}/lumo-document.svg
        DESTINATION ${LUMO_ICON_THEME}/scalable/mimetypes RENAME application-x-lumo.svg)

# The desktop reads ".lum" only from the compiled MIME database, so rebuild it
# (and the desktop entries' MIME cache) where lumo lands. A staged install
# (DESTDIR) leaves that to the package manager. The icon cache is refreshed only
# where one exists already: a new cache would hide icons installed after it.
if(LUMO_INSTALL_UPDATE_CACHES)
  install(CODE "set(LUMO_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
  install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "")
      if(IS_ABSOLUTE "${LUMO_DATADIR}")
        set(lumo_datadir "${LUMO_DATADIR}")
      else()
        set(lumo_datadir "${CMAKE_INSTALL_PREFIX}/${LUMO_DATADIR}")
      endif()
      find_program(LUMO_UPDATE_MIME update-mime-database)
      if(LUMO_UPDATE_MIME)
        message(STATUS "Updating MIME database: ${lumo_datadir}/mime")
        execute_process(COMMAND "${LUMO_UPDATE_MIME}" "${lumo_datadir}/mime")
      endif()
      find_program(LUMO_UPDATE_DESKTOP update-desktop-database)
      if(LUMO_UPDATE_DESKTOP)
        execute_process(COMMAND "${LUMO_UPDATE_DESKTOP}" -q "${lumo_datadir}/applications")
      endif()
      find_program(LUMO_UPDATE_ICONS gtk-update-icon-cache)
      if(LUMO_UPDATE_ICONS AND EXISTS "${lumo_datadir}/icons/hicolor/icon-theme.cache")
        execute_process(COMMAND "${LUMO_UPDATE_ICONS}" -q -t -f "${lumo_datadir}/icons/hicolor")
      endif()
    endif()
  ]])
endif()

if(LUMO_BUILD_TESTS)
  add_test(NAME install_test
           COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/tests/install_test.sh
                   ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${CMAKE_INSTALL_BINDIR}
                   ${CMAKE_INSTALL_DATADIR} ${LUMO_INSTALLED_PROGRAMS})
  set_tests_properties(install_test PROPERTIES TIMEOUT 120)
endif()
