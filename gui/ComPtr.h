#pragma once
// Owner of one COM interface reference: released when the owner goes, never copied.
#include <unknwn.h>

namespace VellGui {

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // Out-parameter for calls that hand over a new reference; drops the old one first.
    T** put() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_)
            pointer_->Release();
        pointer_ = nullptr;
    }

private:
    T* pointer_ = nullptr;
};

} // namespace VellGui
