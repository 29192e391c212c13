#pragma once
// An object on the heap that copies with its owner: a unique_ptr whose copy is a deep copy. The
// scenes keep their models, and models their meshes, at fixed addresses; Boxed lets the records
// holding them stay plain values, so a scene's whole state can be kept and put back by assignment.

#include <memory>

template <class T>
class Boxed {
  public:
    Boxed() = default;
    Boxed(std::unique_ptr<T> p) : p_(std::move(p)) {} // NOLINT: takes over like a unique_ptr
    Boxed(const Boxed& other) : p_(other.p_ ? std::make_unique<T>(*other.p_) : nullptr) {}
    Boxed(Boxed&&) noexcept = default;
    // Copies into the object already there, so its buffers are reused rather than reallocated.
    Boxed& operator=(const Boxed& other) {
        if (this == &other) return *this;
        if (p_ && other.p_)
            *p_ = *other.p_;
        else
            p_ = other.p_ ? std::make_unique<T>(*other.p_) : nullptr;
        return *this;
    }
    Boxed& operator=(Boxed&&) noexcept = default;
    Boxed& operator=(std::unique_ptr<T> p) {
        p_ = std::move(p);
        return *this;
    }

    T* get() const { return p_.get(); }
    T& operator*() const { return *p_; }
    T* operator->() const { return p_.get(); }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(std::nullptr_t) const { return p_ == nullptr; }

  private:
    std::unique_ptr<T> p_;
};
