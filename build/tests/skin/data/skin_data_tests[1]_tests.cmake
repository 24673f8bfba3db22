set(  skin_data_tests_TESTS)
