# Finds QCustomPlot built for Qt 6 and provides it as the imported target QCustomPlot::QCustomPlot.
#
# Where it comes from, in this order:
#  - a target QCustomPlot::QCustomPlot defined before find_package (a build from source added to
#    the project, for example);
#  - QCustomPlot_INCLUDE_DIR (the folder holding qcustomplot.h) and QCustomPlot_LIBRARY set on
#    the command line or in a toolchain file (a build from source installed elsewhere);
#  - the header and a Qt 6 build of the library on the search paths (Debian's
#    libqcustomplot-dev installs /usr/include/qcustomplot.h and libQCustomPlotQt6.so; a
#    cross build searches its CMAKE_FIND_ROOT_PATH).
# Debian also ships a Qt 5 build named libQCustomPlot.so; it is never picked up by name, since
# linking it into a Qt 6 program fails only at run time.
# Set QCustomPlot_STATIC=ON for a static library: the header then expects no DLL import.
if(TARGET QCustomPlot::QCustomPlot)
  set(QCustomPlot_FOUND TRUE)
  return()
endif()

option(QCustomPlot_STATIC "QCustomPlot is a static library" OFF)

find_path(QCustomPlot_INCLUDE_DIR NAMES qcustomplot.h PATH_SUFFIXES qcustomplot)
find_library(QCustomPlot_LIBRARY NAMES QCustomPlotQt6 qcustomplot-qt6 qcustomplot)

if(QCustomPlot_INCLUDE_DIR AND EXISTS "${QCustomPlot_INCLUDE_DIR}/qcustomplot.h")
  file(STRINGS "${QCustomPlot_INCLUDE_DIR}/qcustomplot.h" _qcp_version_line
       REGEX "^#define QCUSTOMPLOT_VERSION_STR \"[^\"]+\"")
  string(REGEX REPLACE ".*\"([^\"]+)\".*" "\\1" QCustomPlot_VERSION "${_qcp_version_line}")
  unset(_qcp_version_line)
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(QCustomPlot
  REQUIRED_VARS QCustomPlot_LIBRARY QCustomPlot_INCLUDE_DIR
  VERSION_VAR QCustomPlot_VERSION)
mark_as_advanced(QCustomPlot_INCLUDE_DIR QCustomPlot_LIBRARY)

if(QCustomPlot_FOUND)
  find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
  add_library(QCustomPlot::QCustomPlot UNKNOWN IMPORTED)
  set_target_properties(QCustomPlot::QCustomPlot PROPERTIES
    IMPORTED_LOCATION "${QCustomPlot_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${QCustomPlot_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::PrintSupport")
  if(NOT QCustomPlot_STATIC)
    set_property(TARGET QCustomPlot::QCustomPlot PROPERTY
                 INTERFACE_COMPILE_DEFINITIONS QCUSTOMPLOT_USE_LIBRARY)
  endif()
endif()
