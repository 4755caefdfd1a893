# What `cmake --install` puts in place: the program and its on-demand modules, its menu entry and icon, the file types it
# opens, and the help collection (cmake/PlotaneHelp.cmake).
include(GNUInstallDirs)
install(TARGETS plotane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The on-demand modules, where the program looks for them (shell/base/OnDemand.h).
get_property(ondemand GLOBAL PROPERTY PLOTANE_ONDEMAND_MODULES)
install(TARGETS ${ondemand} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/plotane)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/plotane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/plotane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/desktop/plotane-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME plotane.xml)
