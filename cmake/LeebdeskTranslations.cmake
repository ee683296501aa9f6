# The interface's translations. The source texts are Chinese; translations/leebdesk_<lang>.ts
# hold the other languages (scripts/update-translations refreshes them from the sources).
# lrelease compiles them into bin/translations, beside the programs, where they look first;
# installed, they go to share/leebdesk/translations.
#
# lrelease is called directly rather than through qt_add_lrelease: Debian's qt6-l10n-tools has
# the tools, but Qt6LinguistTools' CMake files come only with qt6-tools-dev (Designer,
# Assistant, libclang). In a cross build the host's lrelease is the one that runs.
find_program(LEEBDESK_LRELEASE NAMES lrelease-qt6 lrelease
  HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" "${QT_HOST_PATH}/lib/qt6/bin" /usr/lib/qt6/bin
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_program(LEEBDESK_LUPDATE NAMES lupdate-qt6 lupdate
  HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" "${QT_HOST_PATH}/lib/qt6/bin" /usr/lib/qt6/bin
  NO_CMAKE_FIND_ROOT_PATH)

set(LEEBDESK_TRANSLATIONS_DIR ${CMAKE_BINARY_DIR}/bin/translations)
file(GLOB leebdesk_ts_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/translations/leebdesk_*.ts)
set(leebdesk_qm_files)
foreach(ts ${leebdesk_ts_files})
  get_filename_component(name ${ts} NAME_WE)
  set(qm ${LEEBDESK_TRANSLATIONS_DIR}/${name}.qm)
  add_custom_command(OUTPUT ${qm}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LEEBDESK_TRANSLATIONS_DIR}
    COMMAND ${LEEBDESK_LRELEASE} -silent ${ts} -qm ${qm}
    DEPENDS ${ts}
    COMMENT "Compiling translation ${name}"
    VERBATIM)
  list(APPEND leebdesk_qm_files ${qm})
endforeach()
add_custom_target(leebdesk_translations ALL DEPENDS ${leebdesk_qm_files})

include(GNUInstallDirs)
install(FILES ${leebdesk_qm_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/leebdesk/translations)
