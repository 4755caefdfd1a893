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
    add_test(NAME ${subdir}.${stem} COMMAND ${target})
    set_tests_properties(${subdir}.${stem} PROPERTIES
      ENVIRONMENT "PLOTANE_TEST_DATA=${PROJECT_SOURCE_DIR}/data;PLOTANE_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endforeach()
endfunction()
