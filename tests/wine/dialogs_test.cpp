// The pages driven as a user would.
#include <gtest/gtest.h>
