#pragma once
// Bound callbacks for the HID layer's events.
//
// A handler is a function plus the object it is bound to. Two handlers are "the same" when their
// functions are the same, whatever object they are bound to: the controller hands its handlers
// on to its devices and later recognises the devices that still carry its previous handler by the
// function alone.

#include <array>
#include <cstring>
#include <functional>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace leeb {

// Identity of a handler's function: the bytes of a (member) function pointer and its type, or an
// explicit tag for lambdas and other callables.
class HidFunctionId {
  public:
    HidFunctionId() = default;

    template <class Pointer>
    static HidFunctionId FromPointer(Pointer pointer) {
        static_assert(sizeof(Pointer) <= sizeof(Bytes{}), "function pointer too wide");
        HidFunctionId id;
        id.type_ = &typeid(Pointer);
        std::memcpy(id.bytes_.data(), &pointer, sizeof(Pointer));
        return id;
    }
    static HidFunctionId FromTag(const void* tag) {
        HidFunctionId id;
        id.type_ = &typeid(const void*);
        std::memcpy(id.bytes_.data(), &tag, sizeof(tag));
        return id;
    }

    bool Empty() const { return type_ == nullptr; }
    friend bool operator==(const HidFunctionId& a, const HidFunctionId& b) {
        if (a.type_ == nullptr || b.type_ == nullptr) {
            return a.type_ == b.type_;
        }
        return *a.type_ == *b.type_ && a.bytes_ == b.bytes_;
    }

  private:
    using Bytes = std::array<unsigned char, 32>;
    const std::type_info* type_ = nullptr;
    Bytes bytes_{};
};

template <class Signature>
class HidEvent;

template <class R, class... Args>
class HidEvent<R(Args...)> {
  public:
    HidEvent() = default;
    HidEvent(std::nullptr_t) {}  // NOLINT: "assign nothing" reads naturally

    // A method bound to an object: handler = HidDataEvent::Bind(&form, &MainWindow::DataArrived).
    template <class Object, class Method>
    static HidEvent Bind(Object* object, Method method) {
        HidEvent event;
        event.id_ = HidFunctionId::FromPointer(method);
        event.object_ = object;
        event.call_ = [object, method](Args... args) -> R {
            return std::invoke(method, object, std::forward<Args>(args)...);
        };
        return event;
    }

    // A free function; its address is its identity.
    static HidEvent Function(R (*function)(Args...)) {
        HidEvent event;
        if (function != nullptr) {
            event.id_ = HidFunctionId::FromPointer(function);
            event.call_ = function;
        }
        return event;
    }

    // Any callable with an explicit identity: handlers made with the same tag count as the same
    // function. An optional object is kept for Object() only.
    template <class Callable>
    static HidEvent Tagged(const void* tag, Callable callable, const void* object = nullptr) {
        HidEvent event;
        event.id_ = HidFunctionId::FromTag(tag);
        event.object_ = object;
        event.call_ = std::move(callable);
        return event;
    }

    explicit operator bool() const { return static_cast<bool>(call_); }
    bool Assigned() const { return static_cast<bool>(call_); }

    R operator()(Args... args) const { return call_(std::forward<Args>(args)...); }

    // Same function, whatever the bound object.
    bool SameFunction(const HidEvent& other) const { return id_ == other.id_; }
    const HidFunctionId& FunctionId() const { return id_; }
    const void* Object() const { return object_; }

  private:
    std::function<R(Args...)> call_;
    HidFunctionId id_;
    const void* object_ = nullptr;
};

}  // namespace leeb
