// A widget the window owns but most sessions never show (a dialog): made the first time it
// is used, so that building it does not delay the window's first frame.
#pragma once

#include <functional>
#include <utility>

template <typename T>
class TBuiltOnFirstUse {
  public:
    // `build` makes the object, parented to whoever owns it.
    void SetBuilder(std::function<T*()> build) { build_ = std::move(build); }

    T* Get() {
        if (object_ == nullptr && build_) object_ = build_();
        return object_;
    }
    T* operator->() { return Get(); }
    T& operator*() { return *Get(); }
    // Whether it has been made yet.
    bool Built() const { return object_ != nullptr; }

  private:
    std::function<T*()> build_;
    T* object_ = nullptr;
};
