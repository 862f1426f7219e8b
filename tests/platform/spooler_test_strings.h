// Ids of the test program's own strings: texts of the length in the name,
// the letters a to z repeated.
#pragma once

#define IDS_TEST_256 100
#define IDS_TEST_300 101
#define IDS_TEST_512 102
#define IDS_TEST_600 103
