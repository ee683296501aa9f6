# leebdesk_windows_resources(target DESCRIPTION text [ICON]): the manifest, version and (with
# ICON) the program icon compiled into a Windows program. The icon is the installed Linux
# program's, every size in one .ico.
function(leebdesk_windows_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ICON" "DESCRIPTION" "")
  enable_language(RC)
  set(LEEBDESK_MANIFEST ${PROJECT_SOURCE_DIR}/packaging/windows/leebdesk.manifest)
  set(LEEBDESK_FILE_DESCRIPTION "${arg_DESCRIPTION}")
  set(LEEBDESK_FILE_NAME "${target}.exe")
  set(LEEBDESK_ICON_LINE "")
  set(depends ${LEEBDESK_MANIFEST})
  if(arg_ICON)
    find_program(LEEBDESK_CONVERT convert REQUIRED)
    set(ico ${CMAKE_CURRENT_BINARY_DIR}/${target}.ico)
    set(sizes 16 32 48 256)
    list(TRANSFORM sizes REPLACE "(.+)" "${PROJECT_SOURCE_DIR}/packaging/icons/leebdesk-\\1.png"
         OUTPUT_VARIABLE pngs)
    add_custom_command(OUTPUT ${ico} COMMAND ${LEEBDESK_CONVERT} ${pngs} ${ico}
                       DEPENDS ${pngs} VERBATIM)
    set(LEEBDESK_ICON_LINE "IDI_ICON1 ICON \"${ico}\"")
    list(APPEND depends ${ico})
    target_sources(${target} PRIVATE ${ico})
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${depends}")
  target_sources(${target} PRIVATE ${rc})
endfunction()
