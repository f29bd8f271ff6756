#pragma once
// The root interface of automation objects and a counted reference to one.
#include <cstdint>
#include <utility>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace vexlo::com {

class IUnknown {
public:
    // Stores the object in *out when it offers `iid`; E_NOINTERFACE (and nullptr) otherwise.
    virtual HRESULT QueryInterface(const IID& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

// Holds one counted reference: adds one when it takes a pointer (unless adopting one that
// was already counted for it) and releases it when it lets go.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    explicit Ref(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    static Ref Adopt(T* p) {
        Ref r;
        r.p_ = p;
        return r;
    }
    Ref(const Ref& other) : Ref(other.p_) {}
    Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.get())) {}
    Ref& operator=(Ref other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~Ref() { reset(); }

    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // Gives the reference to the caller, who now has to release it.
    T* Detach() { return std::exchange(p_, nullptr); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(const Ref& other) const { return p_ == other.p_; }

private:
    T* p_ = nullptr;
};

}  // namespace vexlo::com
