#include "bench/frame_encoding.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <sstream>

#include "bench/frame_calls.h"

namespace {

const CallSignature* signatureNamed(std::string_view name) {
    for (const CallSignature& signature : kCallSignatures)
        if (signature.name == name) return &signature;
    return nullptr;
}

// One argument as its word; false when the word would change its value.
bool encodeArgument(char kind, double value, uint32_t& word) {
    if (kind == 'f') {
        const auto narrowed = static_cast<float>(value);
        word = std::bit_cast<uint32_t>(narrowed);
        return narrowed == value;
    }
    // Enums and bit masks are recorded unsigned, coordinates signed.
    if (value < INT32_MIN || value > UINT32_MAX || value != static_cast<double>(int64_t(value)))
        return false;
    word = static_cast<uint32_t>(static_cast<int64_t>(value));
    return true;
}

bool encodeCall(const Call& call, std::vector<uint32_t>& words) {
    const CallSignature* signature = signatureNamed(call.name);
    if (!signature || call.args.size() != signature->arguments.size()) return false;
    words.push_back(static_cast<uint32_t>(signature->code));
    for (size_t i = 0; i < call.args.size(); ++i) {
        if (signature->arguments[i] == '-') continue;
        uint32_t word;
        if (!encodeArgument(signature->arguments[i], call.args[i], word)) return false;
        words.push_back(word);
    }
    if (signature->code == CallCode::glCallLists) {
        if (call.args[1] != GL_UNSIGNED_BYTE || call.bytes.size() != call.args[0]) return false;
        std::vector<uint32_t> text((call.bytes.size() + 3) / 4, 0);
        if (!text.empty()) std::memcpy(text.data(), call.bytes.data(), call.bytes.size());
        words.insert(words.end(), text.begin(), text.end());
    }
    return true;
}

}  // namespace

bool encodeCalls(const Calls& calls, std::vector<uint32_t>& words, std::string& error) {
    for (const Call& call : calls) {
        if (std::ranges::find(kUnreplayedCalls, call.name) != std::end(kUnreplayedCalls)) continue;
        if (!encodeCall(call, words)) {
            std::ostringstream text;
            text << call;
            error = text.str();
            return false;
        }
    }
    return true;
}
