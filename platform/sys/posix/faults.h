// The hook every POSIX service call passes through: fails the Nth matching call on request.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/sys/posix/posix_machine.h"

namespace plat::posix {

class FaultInjector {
 public:
  int add(const Fault& fault);
  void clear();
  int fired(int id) const;
  // Called at the start of every service method: the code to fail with, or 0 to go ahead.
  ErrorCode hit(const char* operation, std::initializer_list<const std::string*> paths);

 private:
  struct Rule {
    Fault fault;
    int seen = 0;
    int fired = 0;
    bool active = true;
  };
  std::vector<Rule> rules_;
};

}  // namespace plat::posix
