# QCustomPlot compiled from its source (Debian's qcustomplot source package, whose patch makes
# the header go through Qt 6's moc) for builds that have no packaged library, such as the
# Windows cross-build. Defines the same target name as the packaged library's lookup.
function(leebdesk_qcustomplot_from_source dir)
  if(NOT EXISTS "${dir}/qcustomplot.cpp")
    message(FATAL_ERROR "No qcustomplot.cpp in ${dir}")
  endif()
  add_library(leebdesk_qcustomplot SHARED "${dir}/qcustomplot.cpp" "${dir}/qcustomplot.h")
  set_target_properties(leebdesk_qcustomplot PROPERTIES AUTOMOC ON OUTPUT_NAME qcustomplot)
  target_include_directories(leebdesk_qcustomplot SYSTEM PUBLIC "${dir}")
  target_compile_definitions(leebdesk_qcustomplot PRIVATE QCUSTOMPLOT_COMPILE_LIBRARY
                             INTERFACE QCUSTOMPLOT_USE_LIBRARY)
  target_link_libraries(leebdesk_qcustomplot PUBLIC Qt6::Widgets Qt6::PrintSupport)
  add_library(QCustomPlot::QCustomPlot ALIAS leebdesk_qcustomplot)
endfunction()
