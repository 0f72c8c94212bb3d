#pragma once

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() {
        if (pointer_ != nullptr)
            pointer_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return pointer_; }
    T* Get() const { return pointer_; }
    T** operator&() { return &pointer_; }

  private:
    T* pointer_ = nullptr;
};
