// Runs a function when the scope ends, however it ends.
#pragma once

#include <utility>

namespace pavona::base {

template <class F>
class TScopeGuard {
 public:
  explicit TScopeGuard(F f) : FAction(std::move(f)) {}
  ~TScopeGuard() { FAction(); }
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;

 private:
  F FAction;
};

}  // namespace pavona::base
