#pragma once
// Owner of one COM interface reference: released when the owner goes, never copied.
#include <unknwn.h>

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    // Adopts a reference the caller already holds.
    explicit ComPtr(T* pointer) : pointer_(pointer) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = other.pointer_;
            other.pointer_ = nullptr;
        }
        return *this;
    }

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
