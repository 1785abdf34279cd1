#pragma once

#include <functional>
#include <memory>
#include <typeindex>
#include <utility>

class TObject;

// The "code" half of a method pointer: which member function (or function) an event calls.
// Codes compare by what they call, so two bindings of the same method to the same object are
// equal, as method pointers were.
class TMethodCode {
public:
    virtual ~TMethodCode() = default;
    [[nodiscard]] virtual bool Equals(const TMethodCode& other) const = 0;
    // The call signature, void(Args...), so that a method is bound only to a matching event.
    [[nodiscard]] virtual std::type_index Signature() const = 0;
};

// A method pointer without its type: the object and the code. What the property registry hands
// around (GetMethodProp/SetMethodProp) and what binding an event by name produces.
struct TMethod {
    TObject* Data = nullptr;
    std::shared_ptr<const TMethodCode> Code;

    [[nodiscard]] bool Assigned() const { return Code != nullptr; }
    friend bool operator==(const TMethod& a, const TMethod& b)
    {
        if (!a.Code || !b.Code)
            return !a.Code && !b.Code;
        return a.Data == b.Data && a.Code->Equals(*b.Code);
    }
};

namespace classlib_core::detail {

template <class... Args>
class TInvokableCode : public TMethodCode {
public:
    virtual void Invoke(TObject* data, Args... args) const = 0;
    [[nodiscard]] std::type_index Signature() const override { return typeid(void(Args...)); }
};

template <class T, class... Args>
class TMemberCode final : public TInvokableCode<Args...> {
public:
    using Member = void (T::*)(Args...);
    explicit TMemberCode(Member member) : m_member(member) {}

    void Invoke(TObject* data, Args... args) const override
    {
        (static_cast<T*>(data)->*m_member)(std::forward<Args>(args)...);
    }
    [[nodiscard]] bool Equals(const TMethodCode& other) const override
    {
        const auto* code = dynamic_cast<const TMemberCode*>(&other);
        return code && code->m_member == m_member;
    }

private:
    Member m_member;
};

// A free-standing handler (a lambda); equal only to itself.
template <class... Args>
class TFunctionCode final : public TInvokableCode<Args...> {
public:
    explicit TFunctionCode(std::function<void(Args...)> function) : m_function(std::move(function)) {}

    void Invoke(TObject*, Args... args) const override { m_function(std::forward<Args>(args)...); }
    [[nodiscard]] bool Equals(const TMethodCode& other) const override { return &other == this; }

private:
    std::function<void(Args...)> m_function;
};

} // namespace classlib_core::detail

// An event: a bound method with `Sender` first by convention. Empty by default; calling an empty
// event does nothing, so callers need not test Assigned first (they may). Comparable: equal when
// bound to the same method of the same object.
template <class... Args>
class TEvent {
public:
    TEvent() = default;
    template <class T>
    TEvent(T* object, void (T::*member)(Args...))
        : m_method{object, std::make_shared<classlib_core::detail::TMemberCode<T, Args...>>(member)}
    {
    }
    // Binds a lambda or other callable; no object.
    [[nodiscard]] static TEvent FromFunction(std::function<void(Args...)> function)
    {
        TEvent event;
        event.m_method.Code = std::make_shared<classlib_core::detail::TFunctionCode<Args...>>(std::move(function));
        return event;
    }
    // An untyped method of the wrong signature gives an empty event; test Accepts first.
    [[nodiscard]] static TEvent FromMethod(const TMethod& method)
    {
        TEvent event;
        if (Accepts(method))
            event.m_method = method;
        return event;
    }
    [[nodiscard]] static bool Accepts(const TMethod& method)
    {
        return !method.Code || method.Code->Signature() == std::type_index(typeid(void(Args...)));
    }

    [[nodiscard]] bool Assigned() const { return m_method.Assigned(); }
    explicit operator bool() const { return Assigned(); }
    [[nodiscard]] const TMethod& Method() const { return m_method; }
    [[nodiscard]] TObject* Data() const { return m_method.Data; }

    // The handler may free the object that holds this event, and the event with it: the call
    // keeps the handler's code (a lambda and what it captured) until it returns.
    void operator()(Args... args) const
    {
        if (const auto code = m_method.Code)
            static_cast<const classlib_core::detail::TInvokableCode<Args...>&>(*code)
                .Invoke(m_method.Data, std::forward<Args>(args)...);
    }

    friend bool operator==(const TEvent& a, const TEvent& b) { return a.m_method == b.m_method; }

private:
    TMethod m_method;
};

using TNotifyEvent = TEvent<TObject*>;

// Builds the code of a published method (see TClassBuilder::Method).
template <class T, class... Args>
[[nodiscard]] std::shared_ptr<const TMethodCode> MethodCode(void (T::*member)(Args...))
{
    return std::make_shared<classlib_core::detail::TMemberCode<T, Args...>>(member);
}
