// libFuzzer target: the first four bytes choose the count, the rest is the text.
#include "codeconv/xr_to_gb.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t selector = UINT32_MAX;
    if (size >= 4) {
        std::memcpy(&selector, data, 4);
        data += 4;
        size -= 4;
    }
    // Mostly counts near the text length, where the count rule matters; sometimes any count.
    const uint32_t count = (selector >> 24) == 0xFF ? selector : selector % static_cast<uint32_t>(size + 3);

    // Exact-size heap copies, so the sanitizer sees a read past the terminator or a write past
    // twice the text length plus one.
    auto source = std::make_unique<uint8_t[]>(size + 1);
    std::copy(data, data + size, source.get());
    source[size] = 0;
    const size_t length = std::strlen(reinterpret_cast<const char*>(source.get()));
    const size_t capacity = 2 * length + 1;
    auto destination = std::make_unique<uint8_t[]>(capacity);

    const uint32_t written = ostrel::ConvertXrToGb(source.get(), destination.get(), count);
    if (written > 2 * std::min<size_t>(count, length)) std::abort();
    if (destination[written] != 0) std::abort();
    if (std::find(destination.get(), destination.get() + written, 0) != destination.get() + written) std::abort();

    // The bounded form over the whole input, zero bytes included, must agree.
    auto boundedDestination = std::make_unique<uint8_t[]>(capacity);
    const uint32_t boundedWritten = ostrel::ConvertXrToGb(
        std::span<const uint8_t>(data, size), std::span<uint8_t>(boundedDestination.get(), capacity), count);
    if (boundedWritten != written) std::abort();
    if (std::memcmp(boundedDestination.get(), destination.get(), written + 1) != 0) std::abort();
    return 0;
}
