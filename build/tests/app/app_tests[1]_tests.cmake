set(  app_tests_TESTS)
