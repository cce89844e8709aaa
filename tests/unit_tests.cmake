# The library's in-process tests of the console program, built natively and
# for Windows alike; paths are relative to this folder.
set(unit_test_sources
  console_test.cpp
  match_test.cpp
  suspense_index_test.cpp
  two_pass_reference.cpp)
