// A program that watches the fake device from outside (the allocation and
// system-call check) defines these; the fake calls them around each of its
// system calls, so that what the fake itself does is not counted as the
// library's. Undefined, they are not called.
#pragma once

extern "C" {
__attribute__((weak)) void orvex_fake_device_enter(const char* call);
__attribute__((weak)) void orvex_fake_device_leave();
}

namespace tarvish::i2cdev::test {

// Calls the hooks for the life of a scope.
class FakeSystemCall {
 public:
  explicit FakeSystemCall(const char* call) {
    if (orvex_fake_device_enter != nullptr) orvex_fake_device_enter(call);
  }
  ~FakeSystemCall() {
    if (orvex_fake_device_leave != nullptr) orvex_fake_device_leave();
  }
  FakeSystemCall(const FakeSystemCall&) = delete;
  FakeSystemCall& operator=(const FakeSystemCall&) = delete;
};

}  // namespace tarvish::i2cdev::test
