// Intrusive strong reference to a reference-counted runtime object.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

// An owned reference in transit: what a method implementation answers for an
// object result. It travels in a register like a plain pointer, and the
// receiving Ref takes it over.
template <class T> struct [[nodiscard]] Retained { T* object; };

template <class T> class Ref {
  public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    // Borrowing a raw pointer retains it.
    Ref(T* object) : object_(object) { retain(); }
    Ref(const Ref& other) : object_(other.object_) { retain(); }
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U>
    requires std::is_convertible_v<U*, T*> Ref(Retained<U> owned) : object_(owned.object) {}
    template <class U>
    requires std::is_convertible_v<U*, T*> Ref(const Ref<U>& other) : object_(other.get()) {
        retain();
    }
    template <class U>
    requires std::is_convertible_v<U*, T*> Ref(Ref<U>&& other)
    noexcept : object_(other.leak()) {}
    ~Ref() { release(); }

    Ref& operator=(Ref other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    // Takes over a reference that the caller already owns (count already counted).
    static Ref adopt(T* object) {
        Ref ref;
        ref.object_ = object;
        return ref;
    }
    // Gives up ownership without releasing.
    T* leak() { return std::exchange(object_, nullptr); }
    Retained<T> retained() && { return {leak()}; }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    operator T*() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    void retain() {
        if (object_) object_->retain();
    }
    void release() {
        if (object_) std::exchange(object_, nullptr)->release();
    }

    T* object_ = nullptr;
};

template <class T> struct IsRef : std::false_type {};
template <class T> struct IsRef<Ref<T>> : std::true_type {};
