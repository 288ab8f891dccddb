#pragma once
// The message of the error a piece of code raises, for tests that compare
// whole error texts.

#include <functional>
#include <string>
#include <typeinfo>

namespace quorvex::test {

/// The message of the `E` that `action` raises; "<no error>" when it raises
/// none, "<other error: ...>" when it raises something that is no `E`.
template <class E>
std::string ErrorMessage(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return std::string("<other error: ") + typeid(e).name() + " " + e.what() + ">";
  }
  return "<no error>";
}

}  // namespace quorvex::test
