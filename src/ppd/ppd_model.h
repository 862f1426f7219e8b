// The parsed printer description. Destroyed through its virtual destructor
// by whoever owns it.
#pragma once

namespace qx {

class PpdModel {
 public:
  virtual ~PpdModel() = default;
};

}  // namespace qx
