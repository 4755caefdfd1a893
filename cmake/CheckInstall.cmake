# Installs the build tree into a fresh prefix and checks what a desktop needs is there and valid.
# cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/plotane share/applications/plotane.desktop
          share/icons/hicolor/scalable/apps/plotane.svg share/mime/packages/plotane.xml
          share/plotane/help/plotane.qhc share/plotane/help/plotane.qch)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The on-demand modules, in the program's module folder (lib/plotane, or the platform's lib
# folder): the toolkit and the vector writers.
foreach(m qt export)
  file(GLOB module ${PREFIX}/lib*/plotane/libplotane_${m}.so ${PREFIX}/lib/*/plotane/libplotane_${m}.so)
  if(NOT module)
    message(FATAL_ERROR "not installed: lib/plotane/libplotane_${m}.so")
  endif()
endforeach()
# The installed program runs on its own and finds its modules there: a letter font comes from
# the platform through the toolkit, the SVG from the vector writers.
set(work ${PREFIX}/check)
file(MAKE_DIRECTORY ${work})
file(WRITE ${work}/CHECK.EBT "DWSETFONT(A);\nDWMAAF(1, 1);\n@T('check');\nEND\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                        ${PREFIX}/bin/plotane --batch CHECK --png check.png --svg check.svg
                WORKING_DIRECTORY ${work} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "" OR NOT EXISTS ${work}/check.png
   OR NOT EXISTS ${work}/check.svg)
  message(FATAL_ERROR "the installed program did not run its modules: ${rc} ${out}")
endif()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/plotane.desktop
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND ${UPDATE_MIME} ${PREFIX}/share/mime RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT EXISTS ${PREFIX}/share/mime/application/x-plotane-grl.xml)
    message(FATAL_ERROR "update-mime-database: ${out}")
  endif()
endif()
file(REMOVE_RECURSE ${PREFIX})
