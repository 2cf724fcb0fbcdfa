# quillet_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l1 l2] [TIMEOUT s]
#                  [SOUND_SERVER])
# SOUND_SERVER: the tests play through, capture from, or stop and start the shared private
# sound server, so they never run at the same time as another such test (label sound_server).
# One GoogleTest executable; every TEST becomes its own ctest test (run in its own
# process, so one crash or hang is reported against one test only).
function(quillet_add_test name)
  cmake_parse_arguments(T "SOUND_SERVER" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} quillet_testsupport GTest::gtest GTest::gmock)
  if(NOT "quillet_testmain_gui" IN_LIST T_LIBS)
    target_link_libraries(${name} PRIVATE quillet_testmain)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  # Only non-empty values: the discovery script drops empty ones, which would shift every
  # later key onto the wrong value.
  set(properties TIMEOUT ${T_TIMEOUT})
  if(T_SOUND_SERVER)
    # Labelled too, so scripts/test can run them again against another sound server.
    list(APPEND T_LABELS sound_server)
    list(APPEND properties RESOURCE_LOCK sound_server)
  endif()
  if(T_LABELS)
    list(APPEND properties LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ${properties})
endfunction()
