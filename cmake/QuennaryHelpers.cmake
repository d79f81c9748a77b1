# Adds each folder (relative to the calling folder) that already has a CMakeLists.txt.
function(quennary_add_folders)
  foreach(dir IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# quennary_library(<target> SOURCES ... [DEPS ...] [PKG ...])
# One static library per folder; headers are included as "platform/rtl/strings.h" from the source root.
function(quennary_library target)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS;PKG" ${ARGN})
  add_library(${target} STATIC ${L_SOURCES})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(${target} PUBLIC ${L_DEPS})
  foreach(pkg IN LISTS L_PKG)
    pkg_check_modules(PKG_${pkg} REQUIRED IMPORTED_TARGET ${pkg})
    target_link_libraries(${target} PUBLIC PkgConfig::PKG_${pkg})
  endforeach()
endfunction()

# quennary_test(<name> SOURCES ... LIBS ... LABELS ... [ENV VAR=value ...])
# One GoogleTest executable; every test in it becomes a CTest test carrying the labels.
function(quennary_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    QUENNARY_SOURCE_DIR="${CMAKE_SOURCE_DIR}" QUENNARY_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # Tests are listed when ctest starts; a sanitized executable on a loaded machine takes far longer to list them
  # than the default 5 s, and a listing that times out drops every test of the run.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${T_ENV}")
endfunction()

# quennary_test_folder(LIBS ... LABELS ... [PREFIX_LABELS ...] [ENV ...] [EXTRA_SOURCES ...])
# The *_test.cpp files of the calling folder become one test executable, named after the folder
# (tests/skin/forms gives tests_skin_forms_test), so that a change relinks one binary per folder rather than one per
# file. Files named <prefix>_..._test.cpp whose prefix is in PREFIX_LABELS go to an executable of their own,
# <folder>_<prefix>_test, whose tests carry the label <folder label>-<prefix> (e.g. media-player), so that
# `ctest -L media` and `ctest -L player` both select them: discovered tests take a single label string, a list would
# fall apart.
function(quennary_test_folder)
  cmake_parse_arguments(F "" "TIMEOUT" "LIBS;LABELS;PREFIX_LABELS;ENV;EXTRA_SOURCES" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" prefix "${rel}")
  set(groups)
  foreach(test IN LISTS tests)
    get_filename_component(stem ${test} NAME_WE)
    set(group main)
    foreach(extra IN LISTS F_PREFIX_LABELS)
      if(stem MATCHES "^${extra}_")
        set(group ${extra})
      endif()
    endforeach()
    list(APPEND sources_of_${group} ${test})
    if(NOT group IN_LIST groups)
      list(APPEND groups ${group})
    endif()
  endforeach()
  foreach(group IN LISTS groups)
    if(group STREQUAL "main")
      set(name ${prefix}_test)
      set(labels ${F_LABELS})
    else()
      set(name ${prefix}_${group}_test)
      set(labels ${F_LABELS}-${group})
    endif()
    quennary_test(${name} SOURCES ${sources_of_${group}} ${F_EXTRA_SOURCES} LIBS ${F_LIBS} LABELS ${labels}
      ENV ${F_ENV} TIMEOUT ${F_TIMEOUT})
  endforeach()
endfunction()
