# The manual (docs/manual) as a Qt Help collection: qhelpgenerator builds plotane.qch from the
# help project and registers it in plotane.qhc, both in <build>/help, where the program and the
# window tests look for them (installed: <prefix>/share/plotane/help).
find_package(Qt6 QUIET COMPONENTS ToolsTools)
if(TARGET Qt6::qhelpgenerator)
  set(PLOTANE_QHELPGENERATOR $<TARGET_FILE:Qt6::qhelpgenerator>)
else()
  find_program(PLOTANE_QHELPGENERATOR qhelpgenerator qhelpgenerator6
               HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS} REQUIRED)
endif()

set(manual_dir ${PROJECT_SOURCE_DIR}/docs/manual)
set(help_dir ${PROJECT_BINARY_DIR}/help)
file(GLOB manual_files CONFIGURE_DEPENDS ${manual_dir}/*.html ${manual_dir}/*.css)
file(WRITE ${help_dir}/plotane.qhcp
  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
  "<QHelpCollectionProject version=\"1.0\">\n"
  "  <docFiles><register><file>plotane.qch</file></register></docFiles>\n"
  "</QHelpCollectionProject>\n")
add_custom_command(
  OUTPUT ${help_dir}/plotane.qch ${help_dir}/plotane.qhc
  COMMAND ${CMAKE_COMMAND} -E rm -f ${help_dir}/plotane.qch ${help_dir}/plotane.qhc
  COMMAND ${PLOTANE_QHELPGENERATOR} -s ${manual_dir}/plotane.qhp -o ${help_dir}/plotane.qch
  COMMAND ${PLOTANE_QHELPGENERATOR} -s ${help_dir}/plotane.qhcp -o ${help_dir}/plotane.qhc
  DEPENDS ${manual_dir}/plotane.qhp ${manual_files}
  WORKING_DIRECTORY ${help_dir}
  COMMENT "Building the help collection"
  VERBATIM)
add_custom_target(plotane_help ALL DEPENDS ${help_dir}/plotane.qch ${help_dir}/plotane.qhc)
install(FILES ${help_dir}/plotane.qch ${help_dir}/plotane.qhc DESTINATION share/plotane/help)
