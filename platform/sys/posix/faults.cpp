// Fault matching and counting: per rule, calls that match operation and path are counted.
#include "platform/sys/posix/faults.h"

#include "platform/sys/posix/cp932.h"

namespace plat::posix {

int FaultInjector::add(const Fault& fault) {
  rules_.push_back(Rule{fault});
  return static_cast<int>(rules_.size()) - 1;
}

void FaultInjector::clear() {
  for (Rule& r : rules_) r.active = false;
}

int FaultInjector::fired(int id) const {
  return (id >= 0 && id < static_cast<int>(rules_.size())) ? rules_[id].fired : 0;
}

ErrorCode FaultInjector::hit(const char* operation, std::initializer_list<const std::string*> paths) {
  ErrorCode result = err::kSuccess;
  for (Rule& r : rules_) {
    if (!r.active) continue;
    if (r.fault.operation != "*" && r.fault.operation != operation) continue;
    if (!r.fault.pathContains.empty()) {
      bool found = false;
      for (const std::string* p : paths)
        if (p && findNoCase(*p, r.fault.pathContains) != std::string::npos) found = true;
      if (!found) continue;
    }
    ++r.seen;
    bool fires = r.fault.persistent ? r.seen >= r.fault.nth : r.seen == r.fault.nth;
    if (fires && result == err::kSuccess) {
      ++r.fired;
      result = r.fault.code;
    }
  }
  return result;
}

}  // namespace plat::posix
