// The inflating of a compressed body, as a server's "Content-Encoding" asks
// for it: whatever the bytes, the result keeps to its limit, and a limit
// twice as large only lets more of the same stream through.

#include "fuzz/FuzzSupport.h"
#include "platform/net/Inflate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const qsizetype limit = 1 + input.Word() * 16;
    const QByteArray packed = input.Rest();
    const Inflated small = Inflate(packed, limit);
    const Inflated large = Inflate(packed, 2 * limit);
    using Outcome = Inflated::Outcome;
    Require(small.outcome == Outcome::Whole ? small.bytes.size() <= limit : small.bytes.isEmpty(),
            "only a whole stream gives bytes, and no more than the limit");
    if (small.outcome == Outcome::Whole)
        Require(large.outcome == Outcome::Whole && large.bytes == small.bytes,
                "a whole stream inflates the same under any larger limit");
    if (small.outcome == Outcome::TooLarge)
        Require(large.outcome != Outcome::Whole || large.bytes.size() > limit,
                "a stream too large for the limit inflates past it");
    if (small.outcome == Outcome::Damaged)
        Require(large.outcome == Outcome::Damaged, "a damaged stream stays damaged");
    return 0;
}
