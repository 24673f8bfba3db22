set(  media_tests_TESTS)
