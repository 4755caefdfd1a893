# Helpers that let each subsystem folder grow by adding files, without editing build scripts.

# plotane_module(NAME DIR [DEPS...]): a static library of every .cpp below DIR except ui/ folders.
# A folder with no sources yet becomes an interface library so dependants still configure.
function(plotane_module name dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/ui/")
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# plotane_tests(SUBDIR LIBS...): one GoogleTest binary per tests/SUBDIR/*.cpp file, named
# test_SUBDIR_FILE, registered with CTest. One binary per file keeps builds independent.
function(plotane_tests subdir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${subdir}/*.cpp)
  foreach(src IN LISTS srcs)
    get_filename_component(stem ${src} NAME_WE)
    string(REGEX REPLACE "^test_" "" stem ${stem})
    set(target test_${subdir}_${stem})
    add_executable(${target} ${src})
    target_link_libraries(${target} PRIVATE plotane_testsupport ${ARGN} GTest::gtest_main)
    # Reference data lives in the source tree (tests/data), never outside the repository.
    target_compile_definitions(${target} PRIVATE
      PLOTANE_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${subdir}.${stem} COMMAND ${target})
    set_tests_properties(${subdir}.${stem} PROPERTIES
      ENVIRONMENT "PLOTANE_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endforeach()
endfunction()

# plotane_ondemand_module(NAME SOURCE LIBS...): the shared library libplotane_NAME.so, made of
# SOURCE (which defines the C entry plotane_NAME_module) and the static LIBS, built beside the
# plotane program and installed in <prefix>/lib/plotane, where shell/base/OnDemand.h finds it.
# Only the entry is exported: the module's copy of the model never stands in for the program's.
function(plotane_ondemand_module name source)
  set(target plotane_${name})
  add_library(${target} MODULE ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  target_link_libraries(${target} PRIVATE ${ARGN})
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  file(WRITE ${map} "{ global: plotane_${name}_module; local: *; };\n")
  target_link_options(${target} PRIVATE -Wl,--version-script=${map} -Wl,--no-undefined)
  set_target_properties(${target} PROPERTIES PREFIX "lib" LINK_DEPENDS ${map}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_property(GLOBAL APPEND PROPERTY PLOTANE_ONDEMAND_MODULES ${target})
endfunction()
