#include "tests/doubles/call_log.h"

#include <algorithm>
#include <iostream>
#include <iterator>

namespace {
CallLog* active = nullptr;
}  // namespace

Call call(std::string_view name, std::vector<double> args, std::string bytes) {
    return {name, std::move(args), std::move(bytes)};
}

// Each number exactly: a handle's value can take 15 digits.
Calls operator+(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::ostream& operator<<(std::ostream& out, const Call& call) {
    const std::streamsize precision = out.precision(17);
    out << call.name << '(';
    for (size_t i = 0; i < call.args.size(); ++i) out << (i ? ", " : "") << call.args[i];
    out.precision(precision);
    if (!call.bytes.empty()) out << (call.args.empty() ? "\"" : ", \"") << call.bytes << '"';
    return out << ')';
}

CallLog::CallLog() : previous_(active) {
    active = this;
}
CallLog::~CallLog() {
    active = previous_;
}

CallLog* activeCallLog() {
    return active;
}

void logCall(Call call) {
    if (!active) return;
    if (active->echo) std::cerr << call << '\n';
    active->calls.push_back(std::move(call));
}

size_t CallLog::count(std::string_view name) const {
    return std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.name == name; });
}

Calls CallLog::named(std::string_view name) const {
    Calls found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const Call& c) { return c.name == name; });
    return found;
}
