# Fails when the committed reference differs from what the generator prints now.
# Arguments: -DGENERATOR=<quorex-reference> -DCOMMITTED=<docs/reference.md>
execute_process(COMMAND ${GENERATOR} OUTPUT_VARIABLE generated RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "quorex-reference failed (${result}): the tables disagree, see its messages above")
endif()
if(NOT EXISTS ${COMMITTED})
  message(FATAL_ERROR "${COMMITTED} is missing. Regenerate it with `cmake --build <build-dir> --target reference` and commit it.")
endif()
file(READ ${COMMITTED} committed)
if(NOT generated STREQUAL committed)
  message(FATAL_ERROR "${COMMITTED} is out of date: the tables changed since it was generated. "
                      "Regenerate it with `cmake --build <build-dir> --target reference` and commit it.")
endif()
message(STATUS "docs/reference.md matches the tables")
