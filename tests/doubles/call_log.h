#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// One call to a system library as a recording double saw it: the function's
// name and its numeric arguments in order, widened to double (exact for
// every type the program passes). What a pointer argument points to, where
// the double records it, is told by the double.
struct Call {
    std::string_view name;
    std::vector<double> args;
    std::string bytes;

    friend bool operator==(const Call&, const Call&) = default;
};
using Calls = std::vector<Call>;

Call call(std::string_view name, std::vector<double> args = {}, std::string bytes = {});

// The calls of `a`, then those of `b`.
Calls operator+(Calls a, const Calls& b);

// Prints a call as "glVertex3f(0, 1, 0)", for test failure messages.
std::ostream& operator<<(std::ostream& out, const Call& call);

// The one timeline of the recording doubles. While a CallLog exists, every
// call the program makes to OpenGL or Win32 is appended to its `calls`; the
// latest one constructed is the one written to, until it is destroyed. With none, OpenGL calls have
// no effect, as with no current context.
class CallLog {
public:
    CallLog();
    ~CallLog();
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    Calls calls;
    bool echo = false;  // also print each call to stderr, as it is logged

    size_t count(std::string_view name) const;
    Calls named(std::string_view name) const;

private:
    CallLog* previous_;  // active again once this one is gone
};

// The calls `run()` makes, on a log of their own.
template <typename Run>
Calls callsOf(Run run) {
    CallLog log;
    run();
    return log.calls;
}

// The log calls are written to, or nullptr.
CallLog* activeCallLog();

// Appends to the active log, if any.
void logCall(Call call);

// logCall of a call named `name` with the numbers it is then applied to, a
// handle or pointer as its integer value: logTo{"glBegin"}(mode).
struct logTo {
    std::string_view name;
    template <typename... Args>
    void operator()(Args... args) const {
        if (activeCallLog()) logCall({name, {number(args)...}, {}});
    }
    template <typename Arg>
    static double number(Arg arg) {
        if constexpr (std::is_pointer_v<Arg>) {
            return static_cast<double>(reinterpret_cast<uintptr_t>(arg));
        } else {
            return static_cast<double>(arg);
        }
    }
};
