// Puts a replaceable table of functions back as it was when a scope ends, so
// a test's fakes never outlive the test.
#pragma once

namespace ui {

template <class T>
class ScopedRestore {
 public:
  explicit ScopedRestore(T& target) : target_(target), saved_(target) {}
  ~ScopedRestore() { target_ = saved_; }
  ScopedRestore(const ScopedRestore&) = delete;
  ScopedRestore& operator=(const ScopedRestore&) = delete;

 private:
  T& target_;
  T saved_;
};

}  // namespace ui
