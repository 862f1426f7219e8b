// Text renderings of a model, for the qx-ppd tool and the tests.
#pragma once

#include <string>

#include "ppd/ppd_model.h"

namespace qx {

// One UTF-8 line per record, in model order, fields separated by tabs; tabs,
// line ends and backslashes inside texts are escaped (\t \n \r \\).
std::string DumpPpdModel(const PpdModel &model);

// One line per marked option, naming the installed options that exclude it:
// "Input Slot: Cassette 2 — excluded by Lower Cassette Unit = None".
std::string DescribeExcludedOptions(const PpdModel &model);

}  // namespace qx
