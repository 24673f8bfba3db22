set(  runtime_tests_TESTS)
