# QUOREX_ASSERTIONS keeps assert() on in optimised builds: RelWithDebInfo and Release define
# NDEBUG, which would compile out the thread and state checks (the reactor's "runs on the reactor
# thread" among them). The sanitizer builds of CI turn it on, so the checks run with the tests.
option(QUOREX_ASSERTIONS "Keep assert() checks in optimised builds" OFF)
if(QUOREX_ASSERTIONS)
  # After the configuration's -DNDEBUG on the command line, so it wins.
  add_compile_options(-UNDEBUG)
endif()
