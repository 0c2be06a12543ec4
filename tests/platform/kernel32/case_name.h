// Names for the cases of a table-driven test, made from each case's `what`.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace test {

// The case's `what`, with every character a test name may not hold turned into '_'.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = info.param.what;
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

}  // namespace test
