# Run by ctest before it runs the tests (see quillet_add_suite_tests in CMakeLists.txt): lists the
# GoogleTest suites of one test program and adds one ctest entry per suite, "<prefix>.<Suite>". The list is
# made again only when the program is newer than it. Expects EXE, PREFIX, LIST_FILE and CMAKE_COMMAND_PATH.
if(NOT EXISTS "${LIST_FILE}" OR "${EXE}" IS_NEWER_THAN "${LIST_FILE}")
  execute_process(COMMAND "${CMAKE_COMMAND_PATH}" -E env QT_QPA_PLATFORM=offscreen "${EXE}" --gtest_list_tests
                  OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 120)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${EXE} --gtest_list_tests failed: ${status}")
  endif()
  set(entries "")
  string(REPLACE "\n" ";" lines "${listing}")
  foreach(line IN LISTS lines)
    # A suite's line starts in the first column and ends in "." (a comment may follow after blanks).
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
      set(suite "${CMAKE_MATCH_1}")
      if(NOT suite MATCHES "^DISABLED_")
        string(APPEND entries
          "add_test([=[${PREFIX}.${suite}]=] [=[${EXE}]=] [=[--gtest_filter=${suite}.*]=])\n"
          "set_tests_properties([=[${PREFIX}.${suite}]=] PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen "
          "TIMEOUT 900 LABELS [=[${PREFIX}]=])\n")
      endif()
    endif()
  endforeach()
  file(WRITE "${LIST_FILE}" "${entries}")
endif()
include("${LIST_FILE}")
